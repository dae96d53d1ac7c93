#include "ServedViewFileWriter.h"

#include "ViewFileOutput.h"

namespace tembrel {

void ServedViewFileWriter::WriteViewFile(const VoyageState& state, char decimalSeparator) const {
    const std::string document = Render(state, decimalSeparator);
    ViewFileOutput::Replace(Path(), document);
    // Only a view that reached the file is served.
    if (onWritten_) {
        onWritten_(document, state.CurLon, state.CurLat);
    }
}

} // namespace tembrel
