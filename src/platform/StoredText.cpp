#include "StoredText.h"

#include <QFileInfo>
#include <QSettings>
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

bool IsReadableSettingsFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.size() <= MaxSettingsFileBytes;
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

EditTexts RestoreEditTexts(const QSettings& settings) {
    EditTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::optional<QString> text = StoredText(settings.value(KeyOf(EditValueNames[i])));
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
