#include "app/SettingsUserDefaults.h"

#include "platform/Log.h"

#include <QFile>
#include <QSettings>
#include <QVariant>

namespace {

QString defaultFileName()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, SettingsUserDefaults::OrganizationName,
                     SettingsUserDefaults::ApplicationName)
        .fileName();
}

QString keyFrom(const std::string& key) { return QString::fromStdString(key); }

QVariant variantFrom(const UserDefaults::Value& value)
{
    return std::visit(
        [](const auto& held) -> QVariant {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::string>)
                return QString::fromStdString(held);
            else if constexpr (std::is_same_v<Held, std::int64_t>)
                return QVariant::fromValue<qlonglong>(held);
            else
                return held;
        },
        value);
}

// The INI file keeps only text, so values read back after a restart are strings; values
// still pending in this process keep their type.
UserDefaults::Value valueFrom(const QVariant& variant)
{
    switch (variant.typeId()) {
    case QMetaType::Bool:
        return variant.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return std::int64_t(variant.toLongLong());
    default:
        return variant.toString().toStdString();
    }
}

}

SettingsUserDefaults::SettingsUserDefaults()
    : SettingsUserDefaults(defaultFileName())
{
}

SettingsUserDefaults::SettingsUserDefaults(QString fileName)
    : m_fileName(std::move(fileName))
{
    checkReadable();
}

void SettingsUserDefaults::checkReadable()
{
    QSettings settings(m_fileName, QSettings::IniFormat);
    // The file is parsed on first access; only then does the status tell.
    settings.allKeys();
    if (settings.status() == QSettings::NoError)
        return;
    m_readable = false;
    // Moved aside so that the user's next change can be saved and the bad file is kept.
    const QString aside = m_fileName + QStringLiteral(".unreadable");
    QFile::remove(aside);
    const bool moved = QFile::rename(m_fileName, aside);
    logMessage("Settings file %s could not be read; starting with default settings%s", qPrintable(m_fileName),
               moved ? qPrintable(QStringLiteral(" (the old file is kept as ") + aside + QStringLiteral(")")) : "");
}

std::optional<UserDefaults::Value> SettingsUserDefaults::objectForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const QVariant value = QSettings(m_fileName, QSettings::IniFormat).value(keyFrom(key));
    if (!value.isValid())
        return std::nullopt;
    return valueFrom(value);
}

void SettingsUserDefaults::setObject(const std::string& key, Value value)
{
    std::lock_guard lock(m_mutex);
    QSettings(m_fileName, QSettings::IniFormat).setValue(keyFrom(key), variantFrom(value));
}

void SettingsUserDefaults::removeObjectForKey(const std::string& key)
{
    std::lock_guard lock(m_mutex);
    QSettings(m_fileName, QSettings::IniFormat).remove(keyFrom(key));
}

void SettingsUserDefaults::removePersistentDomain()
{
    std::lock_guard lock(m_mutex);
    QSettings(m_fileName, QSettings::IniFormat).clear();
}
