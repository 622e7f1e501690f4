#include "model/userdefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Whether a key reads the same: the INI file gives texts back for the numbers and booleans it
// was given, so a scalar compares by its text as well.
bool readsTheSame(const QVariant &a, const QVariant &b)
{
    if (a == b)
        return true;
    const auto isScalar = [](const QVariant &value) {
        const int type = value.typeId();
        return value.isValid() && type != QMetaType::QStringList && type != QMetaType::QVariantList
            && type != QMetaType::QVariantMap && value.canConvert<QString>();
    };
    return isScalar(a) && isScalar(b) && a.toString() == b.toString();
}

} // namespace

UserDefaults &UserDefaults::shared()
{
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults()
{
    // Receivers on the main thread hear of changes made anywhere, whoever made the store first.
    if (QCoreApplication *app = QCoreApplication::instance())
        moveToThread(app->thread());
}

UserDefaults::~UserDefaults() = default;

template <typename Change>
void UserDefaults::changeKeys(const QStringList &keys, Change change)
{
    QStringList changed;
    {
        QMutexLocker lock(&m_mutex);
        QStringList all = keys;
        QVariantList before;
        before.reserve(all.size());
        for (const QString &key : std::as_const(all))
            before.append(peekLocked(key));
        change(&all);
        for (qsizetype index = 0; index < all.size(); ++index) {
            const QVariant was = index < before.size() ? before.at(index) : QVariant();
            if (!readsTheSame(peekLocked(all.at(index)), was))
                changed.append(all.at(index));
        }
    }
    for (const QString &key : std::as_const(changed))
        emit valueChanged(key);
}

QStringList UserDefaults::knownKeysLocked() const
{
    QStringList keys = m_registered.keys() + m_overrides.keys();
    if (m_store)
        keys += m_store->allKeys();
    keys.removeDuplicates();
    return keys;
}

QString UserDefaults::defaultStorePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quorl/quorl.ini");
}

void UserDefaults::openStore(const QString &iniPath)
{
    QStringList keys;
    {
        QMutexLocker lock(&m_mutex);
        keys = knownKeysLocked();
    }
    changeKeys(keys, [this, &iniPath](QStringList *all) {
        if (m_store)
            m_store->sync();
        m_store = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
        m_overrides.clear();
        // The keys only the new store holds were unset before.
        for (const QString &key : m_store->allKeys()) {
            if (!all->contains(key))
                all->append(key);
        }
    });
}

QString UserDefaults::storePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_store ? m_store->fileName() : QString();
}

void UserDefaults::registerDefaults(const QVariantHash &defaults)
{
    changeKeys(defaults.keys(), [this, &defaults](QStringList *) {
        for (auto it = defaults.begin(); it != defaults.end(); ++it)
            m_registered.insert(it.key(), it.value());
    });
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
    changeKeys({key}, [this, &key, &value](QStringList *) { m_overrides.insert(key, value); });
}

void UserDefaults::clearOverrides()
{
    QStringList keys;
    {
        QMutexLocker lock(&m_mutex);
        keys = m_overrides.keys();
    }
    changeKeys(keys, [this](QStringList *) { m_overrides.clear(); });
}

QVariant UserDefaults::lookup(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return lookupLocked(key);
}

QVariant UserDefaults::peekLocked(const QString &key) const
{
    auto override = m_overrides.constFind(key);
    if (override != m_overrides.constEnd())
        return *override;
    const QVariant stored = m_store ? m_store->value(key) : QVariant();
    return stored.isValid() ? stored : m_registered.value(key);
}

QVariant UserDefaults::lookupLocked(const QString &key) const
{
    if (!m_store && !m_overrides.contains(key))
        const_cast<UserDefaults *>(this)->m_store =
            std::make_unique<QSettings>(defaultStorePath(), QSettings::IniFormat);
    return peekLocked(key);
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
    changeKeys({forKey}, [this, &value, &forKey](QStringList *) {
        if (!m_store)
            m_store = std::make_unique<QSettings>(defaultStorePath(), QSettings::IniFormat);
        m_store->setValue(forKey, value);
    });
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    changeKeys({key}, [this, &key](QStringList *) {
        if (m_store)
            m_store->remove(key);
    });
}

void UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    if (m_store)
        m_store->sync();
}
