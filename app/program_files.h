#pragma once
// Where the program keeps Options.dat and the working database.
//
// Beside the program when its folder already holds Options.dat, or when the
// folder is writable and holds the shipped empty database itself (a build
// folder, a portable copy): a first start there makes Options.dat and
// data/Patients.mdb. Otherwise (an installed program, whose folder belongs to
// the system) in the user's own folders: $XDG_CONFIG_HOME/kinevo/Options.dat
// naming $XDG_DATA_HOME/kinevo/Patients.mdb, made from the empty database
// shipped in share/kinevo beside bin/. A folder merely being writable is not
// enough: to root every folder is, and a system install must stay clean.
#include <filesystem>
#include <optional>

#include "records/db/configuration.h"

// Kinevo's folders among the user's own: $XDG_CONFIG_HOME/kinevo and
// $XDG_DATA_HOME/kinevo, by default ~/.config/kinevo and ~/.local/share/kinevo.
struct UserFolders {
    std::filesystem::path config;
    std::filesystem::path data;
};

// From the environment; nullopt when neither the XDG variables nor HOME
// give an absolute folder.
std::optional<UserFolders> UserFoldersFromEnvironment();

// Whether the program may write into `folder`.
bool FolderIsWritable(const std::filesystem::path& folder);

// Chooses the place as described above and makes the first-start files
// there when Options.dat is missing; never replaces a file. When they cannot
// be made, says why on standard error: start-up then finds no Options.dat
// and reports it.
ProgramFiles SetUpProgramFiles(const std::filesystem::path& programDir, bool programDirWritable,
                               const std::optional<UserFolders>& user);
