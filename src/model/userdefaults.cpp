#include "model/userdefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

UserDefaults &UserDefaults::shared()
{
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults() = default;
UserDefaults::~UserDefaults() = default;

QString UserDefaults::defaultStorePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quorl/quorl.ini");
}

void UserDefaults::openStore(const QString &iniPath)
{
    QMutexLocker lock(&m_mutex);
    if (m_store)
        m_store->sync();
    m_store = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    m_overrides.clear();
}

QString UserDefaults::storePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_store ? m_store->fileName() : QString();
}

void UserDefaults::registerDefaults(const QVariantHash &defaults)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

bool UserDefaults::isRegistered(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_registered.contains(key);
}

QStringList UserDefaults::registeredKeys() const
{
    QMutexLocker lock(&m_mutex);
    QStringList keys = m_registered.keys();
    keys.sort();
    return keys;
}

QVariant UserDefaults::registeredValue(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_registered.value(key);
}

void UserDefaults::setOverride(const QString &key, const QVariant &value)
{
    QMutexLocker lock(&m_mutex);
    m_overrides.insert(key, value);
}

void UserDefaults::clearOverrides()
{
    QMutexLocker lock(&m_mutex);
    m_overrides.clear();
}

QVariant UserDefaults::lookup(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    auto override = m_overrides.constFind(key);
    if (override != m_overrides.constEnd())
        return *override;
    if (!m_store)
        const_cast<UserDefaults *>(this)->m_store =
            std::make_unique<QSettings>(defaultStorePath(), QSettings::IniFormat);
    QVariant stored = m_store->value(key);
    if (stored.isValid())
        return stored;
    return m_registered.value(key);
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    return lookup(key);
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QVariant value = lookup(key);
    if (!value.isValid())
        return false;
    // The INI store gives texts back; "true"/"1"/"yes" read true.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        return text == u"true" || text == u"yes" || text.toLongLong() != 0;
    }
    return value.toBool();
}

qint64 UserDefaults::integerForKey(const QString &key) const
{
    return lookup(key).toLongLong();
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const QVariant value = lookup(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

QVariantList UserDefaults::arrayForKey(const QString &key) const
{
    const QVariant value = lookup(key);
    if (value.typeId() == QMetaType::QStringList) {
        QVariantList list;
        for (const QString &item : value.toStringList())
            list.append(item);
        return list;
    }
    return value.toList();
}

QStringList UserDefaults::stringArrayForKey(const QString &key) const
{
    QStringList list;
    for (const QVariant &item : arrayForKey(key))
        list.append(item.toString());
    return list;
}

void UserDefaults::setObject(const QVariant &value, const QString &forKey)
{
    QMutexLocker lock(&m_mutex);
    if (!m_store)
        m_store = std::make_unique<QSettings>(defaultStorePath(), QSettings::IniFormat);
    m_store->setValue(forKey, value);
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    if (m_store)
        m_store->remove(key);
}

void UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    if (m_store)
        m_store->sync();
}
