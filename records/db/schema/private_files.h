#pragma once
// Files that hold patient data, and the folders made for them, are created
// readable by their owner only, whatever the umask; a file that is there
// already is never replaced or changed.
#include <filesystem>
#include <string>

inline constexpr std::filesystem::perms kOwnerOnly =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

// Makes each missing folder of `folder` with owner-only access (0700);
// folders that exist are left as they are.
void MakePrivateFolders(const std::filesystem::path& folder);

// Creates the new file `path` holding `text`, with exactly `mode`. False,
// with nothing changed, when something is at `path` already; throws
// std::filesystem::filesystem_error for any other failure (leaving no file).
bool WriteNewFile(const std::filesystem::path& path, const std::string& text, std::filesystem::perms mode = kOwnerOnly);

// The same with the contents of `source`.
bool CopyToNewFile(const std::filesystem::path& source, const std::filesystem::path& target,
                   std::filesystem::perms mode = kOwnerOnly);
