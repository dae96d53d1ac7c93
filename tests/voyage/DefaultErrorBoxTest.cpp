#include "DefaultErrorBox.h"
#include "QuietView.h"
#include "VoyageErrors.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tembrel {
namespace {

struct TextCase {
    std::string message;
    std::string text;
};

class DefaultErrorBoxTexts : public testing::TestWithParam<TextCase> {};

TEST_P(DefaultErrorBoxTexts, GetAFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(DefaultErrorBoxText(GetParam().message), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, DefaultErrorBoxTexts,
                         testing::Values(TextCase{"", ""}, TextCase{"Disk full", "Disk full."},
                                         TextCase{"I/O error 112", "I/O error 112."},
                                         TextCase{"'x' is not a valid integer value",
                                                  "'x' is not a valid integer value."},
                                         TextCase{"Done.", "Done."}, TextCase{"Done!", "Done!"},
                                         TextCase{"Done-", "Done-"}, TextCase{"(Done)", "(Done)"},
                                         TextCase{"Done '", "Done '"}, TextCase{"a/", "a/."},
                                         TextCase{"a:", "a:."}, TextCase{"a~", "a~."},
                                         // A byte above 127 sorts above "." as well.
                                         TextCase{"caf\xC3\xA9", "caf\xC3\xA9."}));

// Records the default error boxes; nothing else of the view is used.
class BoxRecorder final : public QuietView {
public:
    std::vector<std::string> boxes;

    void ShowDefaultErrorBox(const std::string& text) override { boxes.push_back(text); }
};

TEST(RunHandler, ShowsAnEscapingErrorInTheDefaultBox) {
    BoxRecorder window;
    bool cleanedUp = false;
    RunHandler(window, [&] {
        struct CleanUp {
            bool& done;
            ~CleanUp() { done = true; }
        } cleanUp{cleanedUp};
        throw InOutError(112);
    });
    EXPECT_TRUE(cleanedUp);
    EXPECT_EQ(window.boxes, std::vector<std::string>{"I/O error 112."});
}

TEST(RunHandler, ShowsEachErrorWithItsOwnMessage) {
    BoxRecorder window;
    RunHandler(window, [] { throw ConversionError("'x' is not a valid integer value"); });
    RunHandler(window, [] { throw FloatingPointError(FloatingPointError::Kind::Overflow); });
    RunHandler(window, [] { throw IntegerOverflowError(); });
    RunHandler(window, [] { throw std::runtime_error("Done."); });
    EXPECT_EQ(window.boxes,
              (std::vector<std::string>{"'x' is not a valid integer value.",
                                        "Floating point overflow.", "Integer overflow.", "Done."}));
}

TEST(RunHandler, SilentAbortAndSuccessShowNothing) {
    BoxRecorder window;
    int runs = 0;
    RunHandler(window, [&] { ++runs; });
    RunHandler(window, [&] {
        ++runs;
        throw SilentAbort();
    });
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(window.boxes.empty());
}

} // namespace
} // namespace tembrel
