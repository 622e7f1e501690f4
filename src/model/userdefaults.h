#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QSettings;

// The settings store: the user's INI file under $XDG_CONFIG_HOME/quorl/, a layer of registered
// defaults below it and a layer of in-memory overrides above it (the command line's -D). Values
// are looked up at each read, so a change applies to the next use. Safe to use from several
// threads (readers consult the bindings while parsing on worker threads).
//
// valueChanged(key) follows every change of the value read for a key, whatever made it: a set, a
// removal, an override, a registration or another store opened. It is emitted on the thread
// that made the change, after the change, and never while the store is locked, so a receiver
// may read or write the store.
class UserDefaults : public QObject {
    Q_OBJECT

public:
    // The process-wide store. Opens the user's store on first use unless openStore() was called.
    static UserDefaults &shared();

    UserDefaults();
    ~UserDefaults() override;
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    // Uses the INI file at the path as the persistent layer (tests pass a temporary file).
    // Clears the overrides; the registered defaults stay.
    void openStore(const QString &iniPath);
    QString storePath() const;
    static QString defaultStorePath();

    // Registered values are fallbacks only: they are never written to the store.
    void registerDefaults(const QVariantHash &defaults);
    bool isRegistered(const QString &key) const;
    QStringList registeredKeys() const;
    QVariant registeredValue(const QString &key) const;

    // Overrides win over the store for this process only and are never stored.
    void setOverride(const QString &key, const QVariant &value);
    void clearOverrides();

    QVariant objectForKey(const QString &key) const;
    // An absent or unconvertible boolean reads false; an absent integer reads 0.
    bool boolForKey(const QString &key) const;
    qint64 integerForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;
    QVariantList arrayForKey(const QString &key) const;
    QStringList stringArrayForKey(const QString &key) const;

    void setObject(const QVariant &value, const QString &forKey);
    void setBool(bool value, const QString &forKey) { setObject(value, forKey); }
    void setInteger(qint64 value, const QString &forKey) { setObject(value, forKey); }
    void removeObjectForKey(const QString &key);
    void synchronize();

signals:
    void valueChanged(const QString &key);

private:
    QVariant lookup(const QString &key) const;
    QVariant lookupLocked(const QString &key) const;
    // The same without opening the user's store when none is open yet.
    QVariant peekLocked(const QString &key) const;
    // Every key that has a value in any layer.
    QStringList knownKeysLocked() const;
    // Runs the change under the lock and then tells of each of the keys whose value it changed.
    template <typename Change>
    void changeKeys(const QStringList &keys, Change change);

    mutable QMutex m_mutex;
    std::unique_ptr<QSettings> m_store;
    QVariantHash m_registered;
    QVariantHash m_overrides;
};
