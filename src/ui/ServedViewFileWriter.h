#pragma once

#include "ViewFileWriter.h"

#include <functional>
#include <string>

namespace tembrel {

// The view file writer of the window: it writes as the engine's, then hands
// the bytes it wrote and their centre on, so that the view server serves
// exactly what the file holds without reading it back.
class ServedViewFileWriter final : public ViewFileWriter {
public:
    using WrittenHandler = std::function<void(const std::string& document, double lon, double lat)>;

    using ViewFileWriter::ViewFileWriter;

    void OnWritten(WrittenHandler handler) { onWritten_ = std::move(handler); }

    void WriteViewFile(const VoyageState& state, char decimalSeparator) const override;

private:
    WrittenHandler onWritten_;
};

} // namespace tembrel
