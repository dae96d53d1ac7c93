#include "StoredText.h"

#include "DataStreamGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariantList>

namespace tembrel {

namespace {

QString KeyOf(const char* name) {
    return QString::fromLatin1(name);
}

bool HoldsData(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::QByteArray:
        return !value.toByteArray().isEmpty();
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return !value.toList().isEmpty();
    default:
        return true;
    }
}

} // namespace

std::unique_ptr<QTemporaryFile> CheckedSettingsCopy(const QString& path) {
    // Checked before opening, as opening a FIFO waits for a writer.
    if (const QFileInfo info(path); !info.isFile() || info.size() > MaxSettingsFileBytes) {
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential()) {
        return nullptr;
    }
    // One more byte than allowed tells a file that has grown since.
    const QByteArray bytes = file.read(MaxSettingsFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxSettingsFileBytes) {
        return nullptr;
    }
    auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/tembrel-settings-XXXXXX.conf"));
    const QByteArray checked = WithoutDataStreamValues(bytes);
    if (!copy->open() || copy->write(checked) != checked.size() || !copy->flush()) {
        return nullptr;
    }
    return copy;
}

std::optional<QString> StoredText(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        return text.left(text.indexOf(QChar(u'\0')));
    }
    if (HoldsData(value)) {
        return std::nullopt;
    }
    return QString();
}

EditTexts RestoreEditTexts(const QSettings& settings,
                           const std::function<bool(const QString& name)>& refused) {
    EditTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QString name = KeyOf(EditValueNames[i]);
        if (refused && refused(name)) {
            break;
        }
        const std::optional<QString> text = StoredText(settings.value(name));
        if (!text) {
            break;
        }
        texts[i] = text->toStdString();
    }
    return texts;
}

bool HoldsEditTexts(const QSettings& settings, const EditTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QVariant value = settings.value(KeyOf(EditValueNames[i]));
        if (value.typeId() != QMetaType::QString ||
            value.toString() != QString::fromStdString(texts[i])) {
            return false;
        }
    }
    return true;
}

} // namespace tembrel
