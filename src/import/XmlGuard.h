#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tembrel {

// Watches the raw bytes of an XML document before the XML reader sees them
// and refuses, with VoyageError, a start tag with more than MaxAttributes
// attributes, elements nested more than MaxDepth deep, and a text, tag,
// comment or other piece of markup longer than MaxPieceBytes. The reader
// checks each attribute name against the others of its element, so its time
// grows with the square of their number, and it holds a whole piece before
// it reports it: both must be refused before the reader sees them. A
// document type declaration is refused too: the reader expands the entities
// it declares without a bound. Comments, CDATA sections, processing
// instructions and other declarations are passed over.
// The bytes may come in chunks of any size.
class XmlGuard {
public:
    static constexpr int MaxAttributes = 256;
    static constexpr int MaxDepth = 256;
    // A KML line string of some 150000 points still fits; the reader holds
    // a piece twice over, as UTF-16.
    static constexpr long long MaxPieceBytes = 4 * 1024 * 1024;

    void Scan(std::string_view chunk);

private:
    enum class State { Text, TagOpen, StartTag, EndTag, Bang, Comment, CData, Instruction, Decl };

    void StartTagByte(char c);
    [[noreturn]] void Refuse(const std::string& what, const std::string& why = {}) const;

    State state_ = State::Text;
    char quote_ = 0;
    char last_ = 0; // the last byte of a tag outside quotes, not a blank
    int attributes_ = 0;
    int depth_ = 0;
    int brackets_ = 0;
    std::string bang_;              // what follows "<!", until it is known
    std::array<char, 3> closing_{}; // the last bytes of a comment, CDATA or instruction
    long long pieceBytes_ = 0;      // of the text or markup being read
    long long line_ = 1;
    long long tagLine_ = 1;
};

} // namespace tembrel
