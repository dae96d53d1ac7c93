#include "IniFileSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVariantList>

#include <utility>

namespace tembrel {

namespace {

QString KeyOf(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

std::string WithNul(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string data(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    data += '\0';
    return data;
}

struct StoredValue {
    SettingsStore::ValueType type;
    std::string data;
};

// The registry's view of a QSettings value: a text is a string with its NUL;
// a list is a multi-string (each item with its NUL, one more at the end); an
// invalid value and an empty byte array or list hold no data.
StoredValue Classify(const QVariant& value) {
    using Type = SettingsStore::ValueType;
    switch (value.typeId()) {
    case QMetaType::QString:
        return {Type::String, WithNul(value.toString())};
    case QMetaType::UnknownType:
        return {Type::Other, {}};
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return {Type::Other,
                std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        const QVariantList items = value.toList();
        std::string data;
        for (const QVariant& item : items) {
            data += WithNul(item.toString());
        }
        if (!items.isEmpty()) {
            data += '\0';
        }
        return {Type::Other, data};
    }
    default:
        return {Type::Other, WithNul(value.toString())};
    }
}

// Replaces the file whole through a temporary file in the same folder.
bool ReplaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // commit() does not notice when the last buffered bytes fail to reach the
    // disk (a full disk) and would rename a cut-off file into place, so the
    // flush is checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

IniFileSettingsStore::IniFileSettingsStore(QString filePath, Mode mode)
    : filePath_(std::move(filePath)), mode_(mode) {}

bool IniFileSettingsStore::Open() {
    section_.reset();
    modified_ = false;
    if (mode_ == Mode::CreateWhenMissing) {
        if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) {
            return false;
        }
        if (!QFileInfo::exists(filePath_) && !ReplaceFile(filePath_, QByteArray())) {
            return false;
        }
    }
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    section_ = IniGeneralSection::Parse(bytes);
    return true;
}

bool IniFileSettingsStore::QueryValue(std::string_view name, ValueType& type, std::size_t& size) {
    const QString key = KeyOf(name);
    if (!section_ || !section_->Contains(key)) {
        return false;
    }
    const StoredValue value = Classify(section_->Value(key));
    type = value.type;
    size = value.data.size();
    return true;
}

bool IniFileSettingsStore::ReadValue(std::string_view name, std::size_t size, ValueType& type,
                                     std::string& data) {
    const QString key = KeyOf(name);
    if (!section_ || !section_->Contains(key)) {
        return false;
    }
    StoredValue value = Classify(section_->Value(key));
    if (value.data.size() > size) {
        return false;
    }
    type = value.type;
    data = std::move(value.data);
    return true;
}

bool IniFileSettingsStore::SetString(std::string_view name, std::string_view text) {
    if (!section_ || mode_ == Mode::ReadOnly) {
        return false;
    }
    section_->SetString(KeyOf(name), text);
    modified_ = true;
    return true;
}

bool IniFileSettingsStore::Close() {
    bool committed = true;
    if (section_ && modified_) {
        committed = ReplaceFile(filePath_, section_->Serialize());
    }
    section_.reset();
    modified_ = false;
    return committed;
}

} // namespace tembrel
