#include "platform/keyed_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryFile>
#include <QVariant>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace snugbox {
namespace {

bool isAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); isAbsolute(home)) {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && isAbsolute(entry->pw_dir) ? entry->pw_dir : std::string();
}

// QSettings reads '/' and '\' as group separators and rewrites other characters in
// names, so only names it keeps exactly as given are let through.
bool isPlainValueName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '.';
           });
}

bool isPlainKeyName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

// The key's file; none for a path that could reach outside the store's directory.
std::optional<QString> keyFilePath(const std::string& root, const std::vector<std::string>& path)
{
    if (path.empty() || !std::all_of(path.begin(), path.end(), isPlainKeyName)) {
        return std::nullopt;
    }
    QString file = QString::fromStdString(root);
    for (const std::string& name : path) {
        file += QLatin1Char('/') + QString::fromStdString(name);
    }
    return file + QStringLiteral(".ini");
}

// Creating a key creates its empty file, so that the key exists from the first run on,
// even before anything is saved; an existing key must be a readable file.
bool ensureKeyFile(const QString& file)
{
    const QFileInfo info(file);
    if (info.exists()) {
        return info.isFile() && info.isReadable();
    }
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QFile created(file);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        created.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return true;
    }
    // Someone else may have created it in the meantime.
    return QFileInfo(file).isFile();
}

// Files found damaged that could not be moved aside. QSettings keeps what it parsed of a
// file in a process-wide cache and reports the parse error only to the first reader, so
// without this list a later open would see a healthy key and a save would overwrite it.
std::set<QString>& damagedFilesLeftInPlace()
{
    static std::set<QString> files;
    return files;
}

// Moves a damaged file aside under a name that no earlier one has taken.
bool setAside(const QString& file)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = file + QStringLiteral(".corrupt-") + stamp;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString target = attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        if (!QFileInfo::exists(target)) {
            return QFile::rename(file, target);
        }
    }
    return false;
}

// QSettings takes "<file>.lock" while it saves and finds a lock whose process has ended
// stale at once; but a writer killed right after creating the lock leaves it empty, naming
// no process, and every later save would then wait half a minute for it to age. A live
// writer fills its lock the moment it creates it, so an empty one a second old is left over.
void removeAbandonedLock(const QString& file)
{
    const QString lock = file + QStringLiteral(".lock");
    const QFileInfo info(lock);
    constexpr qint64 kFillingMs = 1000;
    if (info.exists() && info.size() == 0 &&
        info.lastModified().msecsTo(QDateTime::currentDateTime()) > kFillingMs) {
        QFile::remove(lock);
    }
}

// Once a save has returned, its file's new name is on the disk too, so that a power cut
// right afterwards keeps it; the file's contents are on the disk before it is renamed.
void syncDirectoryOf(const QString& file)
{
    const QByteArray directory = QFile::encodeName(QFileInfo(file).absolutePath());
    const int descriptor = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

std::unique_ptr<QSettings> openSettings(const QString& file)
{
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    // Sections are parsed on first use; only after all of them does status() tell
    // whether the whole file made sense.
    settings->allKeys();
    return settings;
}

} // namespace

std::string userConfigDirectory()
{
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME"); isAbsolute(configHome)) {
        return configHome;
    }
    const std::string home = homeDirectory();
    return home.empty() ? std::string() : home + "/.config";
}

std::optional<KeyedStore> KeyedStore::openRoot(const std::string& directory)
{
    if (directory.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    if (!std::filesystem::exists(directory, error) &&
        std::filesystem::create_directories(directory, error)) {
        // A configuration directory is private to its user.
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all, error);
    }
    if (!std::filesystem::is_directory(directory, error) ||
        access(directory.c_str(), R_OK | W_OK | X_OK) != 0) {
        return std::nullopt;
    }
    return KeyedStore(directory);
}

struct KeyedStoreKey::Impl {
    std::unique_ptr<QSettings> settings;   // null once closed
    bool changed = false;                  // a value was written since the key opened
    bool written = false;                  // what closing reported
    // A key read as stored is read from a private copy of its file, removed on closing.
    std::unique_ptr<QTemporaryFile> copyRead;

    QVariant valueOf(std::string_view name) const
    {
        if (!settings || !isPlainValueName(name)) {
            return {};
        }
        return settings->value(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }

    void write(std::string_view name, const QVariant& value)
    {
        if (settings && !copyRead && isPlainValueName(name)) {
            settings->setValue(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                               value);
            changed = true;
        }
    }
};

std::unique_ptr<KeyedStoreKey> KeyedStore::openOrCreateKey(const std::vector<std::string>& path) const
{
    const std::optional<QString> keyFile = keyFilePath(directory_, path);
    if (!keyFile) {
        return nullptr;
    }
    const QString& file = *keyFile;
    if (damagedFilesLeftInPlace().contains(file) || !ensureKeyFile(file)) {
        return nullptr;
    }
    std::unique_ptr<QSettings> settings = openSettings(file);
    if (settings->status() == QSettings::FormatError) {
        // Nothing may be written over a file we could not read: its bytes go aside first.
        settings.reset();
        if (!setAside(file)) {
            damagedFilesLeftInPlace().insert(file);
            return nullptr;
        }
        if (!ensureKeyFile(file)) {
            return nullptr;
        }
        settings = openSettings(file);
    }
    if (settings->status() != QSettings::NoError) {
        return nullptr;
    }
    settings->setAtomicSyncRequired(true);
    removeAbandonedLock(file);
    auto impl = std::make_unique<KeyedStoreKey::Impl>();
    impl->settings = std::move(settings);
    return std::make_unique<KeyedStoreKey>(std::move(impl));
}

std::unique_ptr<KeyedStoreKey> KeyedStore::openKeyAsStored(const std::vector<std::string>& path) const
{
    const std::optional<QString> keyFile = keyFilePath(directory_, path);
    if (!keyFile) {
        return nullptr;
    }
    const QString& file = *keyFile;
    QFile stored(file);
    if (!QFileInfo(file).isFile() || !stored.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    // A name this process has never used, so that nothing cached stands in for the bytes.
    auto copy = std::make_unique<QTemporaryFile>(file + QStringLiteral(".read-XXXXXX"));
    if (!copy->open() || copy->write(stored.readAll()) != stored.size() || !copy->flush()) {
        return nullptr;
    }
    copy->close();
    std::unique_ptr<QSettings> settings = openSettings(copy->fileName());
    if (settings->status() != QSettings::NoError) {
        return nullptr;
    }
    auto impl = std::make_unique<KeyedStoreKey::Impl>();
    impl->settings = std::move(settings);
    impl->copyRead = std::move(copy);
    return std::make_unique<KeyedStoreKey>(std::move(impl));
}

bool KeyedStore::setKeyAside(const std::vector<std::string>& path) const
{
    const std::optional<QString> keyFile = keyFilePath(directory_, path);
    if (!keyFile) {
        return false;
    }
    const QString& file = *keyFile;
    return !QFileInfo::exists(file) || setAside(file);
}

KeyedStoreKey::KeyedStoreKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

KeyedStoreKey::~KeyedStoreKey() { close(); }

std::optional<std::size_t> KeyedStoreKey::readBinary(std::string_view name,
                                                     std::span<std::uint8_t> buffer) const
{
    const QVariant value = impl_->valueOf(name);
    if (value.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size > buffer.size()) {
        return std::nullopt;
    }
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return size;
}

std::optional<std::string> KeyedStoreKey::readText(std::string_view name,
                                                   std::size_t bufferCharacters) const
{
    const QVariant value = impl_->valueOf(name);
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    const QString text = value.toString();
    const auto characters = static_cast<std::size_t>(text.toUcs4().size());
    if (characters >= bufferCharacters) {
        return std::nullopt;   // no room left for the terminating zero
    }
    return text.toStdString();
}

void KeyedStoreKey::writeBinary(std::string_view name, std::span<const std::uint8_t> bytes)
{
    impl_->write(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                  static_cast<qsizetype>(bytes.size())));
}

void KeyedStoreKey::writeText(std::string_view name, std::string_view text)
{
    impl_->write(name, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void KeyedStoreKey::removeAll()
{
    if (impl_->settings && !impl_->copyRead) {
        impl_->settings->clear();
    }
}

bool KeyedStoreKey::close()
{
    if (impl_->copyRead) {
        impl_->settings.reset();   // before its file goes
        impl_->copyRead.reset();
        impl_->written = true;     // nothing was to be written
    }
    if (impl_->settings) {
        impl_->settings->sync();
        impl_->written = impl_->settings->status() == QSettings::NoError;
        if (impl_->written && impl_->changed) {
            syncDirectoryOf(impl_->settings->fileName());
        }
        impl_->settings.reset();
    }
    return impl_->written;
}

} // namespace snugbox
