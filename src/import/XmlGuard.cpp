#include "XmlGuard.h"

#include "VoyageErrors.h"

#include <array>

namespace tembrel {

namespace {

constexpr std::string_view CommentStart = "--";
constexpr std::string_view CDataStart = "[CDATA[";
constexpr std::string_view DoctypeStart = "DOCTYPE";

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the bytes seen so far, the last three kept in tail, end with the
// terminator (of at most three bytes).
bool Closes(std::array<char, 3>& tail, char c, std::string_view terminator) {
    tail = {tail[1], tail[2], c};
    return std::string_view(tail.data() + tail.size() - terminator.size(), terminator.size()) ==
           terminator;
}

} // namespace

void XmlGuard::Refuse(const std::string& what, const std::string& why) const {
    throw VoyageError("The file holds " + what + " (line " + std::to_string(tagLine_) + ")" +
                      (why.empty() ? "" : ": " + why) + ". Nothing has been imported.");
}

void XmlGuard::StartTagByte(char c) {
    if (quote_ != 0) {
        if (c == quote_) {
            quote_ = 0;
        }
        return;
    }
    if (c == '"' || c == '\'') {
        quote_ = c;
    } else if (c == '=') {
        if (++attributes_ > MaxAttributes) {
            Refuse("an element with more than " + std::to_string(MaxAttributes) + " attributes");
        }
    } else if (c == '>') {
        state_ = State::Text;
        if (last_ != '/' && ++depth_ > MaxDepth) {
            Refuse("elements nested more than " + std::to_string(MaxDepth) + " deep");
        }
        return;
    }
    if (!Blank(c)) {
        last_ = c;
    }
}

void XmlGuard::Scan(std::string_view chunk) {
    for (const char c : chunk) {
        if (c == '\n') {
            ++line_;
        }
        const State before = state_;
        if (++pieceBytes_ > MaxPieceBytes) {
            Refuse("a text, tag or comment longer than 4 MB");
        }
        switch (state_) {
        case State::Text:
            if (c == '<') {
                state_ = State::TagOpen;
                tagLine_ = line_;
            }
            break;
        case State::TagOpen:
            if (c == '/') {
                state_ = State::EndTag;
            } else if (c == '!') {
                state_ = State::Bang;
                bang_.clear();
            } else if (c == '?') {
                state_ = State::Instruction;
                closing_ = {};
            } else {
                state_ = State::StartTag;
                quote_ = 0;
                last_ = 0;
                attributes_ = 0;
                StartTagByte(c);
            }
            break;
        case State::StartTag:
            StartTagByte(c);
            break;
        case State::EndTag:
            if (c == '>') {
                state_ = State::Text;
                depth_ = depth_ > 0 ? depth_ - 1 : 0;
            }
            break;
        case State::Bang:
            bang_ += c;
            if (bang_ == CommentStart) {
                state_ = State::Comment;
                closing_ = {};
            } else if (bang_ == CDataStart) {
                state_ = State::CData;
                closing_ = {};
            } else if (bang_ == DoctypeStart) {
                // Its internal subset may declare entities, and the reader
                // expands each reference in full however often it comes: a
                // few kilobytes of file become gigabytes of text.
                Refuse("a DOCTYPE declaration",
                       "GPX and KML files have none, and its entities could make the file "
                       "expand without limit");
            } else if (!CommentStart.starts_with(bang_) && !CDataStart.starts_with(bang_) &&
                       !DoctypeStart.starts_with(bang_)) {
                // Some other declaration, not well-formed here: the reader
                // refuses it. It may hold brackets and further '>'.
                state_ = State::Decl;
                quote_ = 0;
                brackets_ = 0;
            }
            break;
        case State::Comment:
            if (Closes(closing_, c, "-->")) {
                state_ = State::Text;
            }
            break;
        case State::CData:
            if (Closes(closing_, c, "]]>")) {
                state_ = State::Text;
            }
            break;
        case State::Instruction:
            if (Closes(closing_, c, "?>")) {
                state_ = State::Text;
            }
            break;
        case State::Decl:
            if (quote_ != 0) {
                quote_ = c == quote_ ? 0 : quote_;
            } else if (c == '"' || c == '\'') {
                quote_ = c;
            } else if (c == '[') {
                ++brackets_;
            } else if (c == ']') {
                brackets_ = brackets_ > 0 ? brackets_ - 1 : 0;
            } else if (c == '>' && brackets_ == 0) {
                state_ = State::Text;
            }
            break;
        }
        // A piece ends where text gives way to markup or markup to text.
        if ((before == State::Text) != (state_ == State::Text)) {
            pieceBytes_ = 0;
            tagLine_ = line_;
        }
    }
}

} // namespace tembrel
