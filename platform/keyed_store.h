#pragma once
// The per-user keyed settings store: keys hold named values, each either binary (exact
// bytes) or text (UTF-8). The root is the user's configuration directory; the key path
// a \ b \ c below it is the INI file <root>/a/b/c.ini, whose top-level entries are the
// key's values. Binary values are written as byte arrays and text values as strings, so
// every value keeps its type.
//
// Closing a key replaces its file in one step (a temporary file renamed over it), so a
// crash or a forced end in the middle of a save leaves the previous file whole.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace snugbox {

// $XDG_CONFIG_HOME when it holds an absolute path, otherwise ~/.config. Empty when no
// home directory is known either.
std::string userConfigDirectory();

class KeyedStoreKey;

// The opened root of the store.
class KeyedStore {
public:
    // Opens the root directory, creating it when it is missing. Fails when it cannot be
    // created or is not a directory this user may read and write.
    static std::optional<KeyedStore> openRoot(const std::string& directory);

    // Opens the key at `path` below the root, creating it when it is missing. A key file
    // that cannot be parsed is renamed aside whole, to "<file>.corrupt-<UTC time>", and a
    // fresh empty key takes its place. Returns null when the key cannot be opened or
    // created, or when a damaged file could not be moved out of the way.
    std::unique_ptr<KeyedStoreKey> openOrCreateKey(const std::vector<std::string>& path) const;

    // The key as its file on disk holds it now. The settings library answers later reads
    // of a file in the same process from what that process last wrote or read, so this
    // is the way to see what the next start of the program will read. The key is read
    // only: writes are ignored. Null when the file is missing or cannot be parsed.
    std::unique_ptr<KeyedStoreKey> openKeyAsStored(const std::vector<std::string>& path) const;

    // Moves the key's file aside whole, under the name a damaged file gets. True when it
    // is out of the way (or was not there).
    bool setKeyAside(const std::vector<std::string>& path) const;

private:
    explicit KeyedStore(std::string directory) : directory_(std::move(directory)) {}
    std::string directory_;
};

// One open key. Value names are plain: letters, digits, '_', '-' and '.'; reads of other
// names fail and writes to them are ignored.
class KeyedStoreKey {
public:
    struct Impl;
    explicit KeyedStoreKey(std::unique_ptr<Impl> impl);
    ~KeyedStoreKey();   // closes the key, committing what close() has not committed yet
    KeyedStoreKey(const KeyedStoreKey&) = delete;
    KeyedStoreKey& operator=(const KeyedStoreKey&) = delete;

    // Copies a binary value to the start of `buffer` and returns its size. Fails, leaving
    // the buffer untouched, when the value is missing, is not binary or is longer than
    // the buffer.
    std::optional<std::size_t> readBinary(std::string_view name,
                                          std::span<std::uint8_t> buffer) const;

    // Reads a text value as a buffer of `bufferCharacters` characters holding the text and
    // its terminating zero would: fails when the value is missing, is not text or has
    // more than bufferCharacters - 1 characters. Characters, not bytes, so that a name
    // in any script gets the same room.
    std::optional<std::string> readText(std::string_view name,
                                        std::size_t bufferCharacters) const;

    void writeBinary(std::string_view name, std::span<const std::uint8_t> bytes);
    void writeText(std::string_view name, std::string_view text);
    // Removes every value of the key, its own and any others the file holds.
    void removeAll();

    // Writes every change to the file in one step. True when the file now holds them all
    // (or nothing needed writing); closing again gives the same answer. A closed key
    // reads nothing and ignores writes.
    bool close();

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace snugbox
