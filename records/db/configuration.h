#pragma once
// Where the patient database lives, and the start-up checks around it.
//
//   ConfiguredDatabasePath()           the process-wide path every record set opens
//   ReadConfiguredPath(options)        Options.dat's first line -> path, "Database Not
//                                      Configured", or nullopt when the file is unreadable
//   StartUpDatabasePath(options)       the start-up steps: read, then test the database
//   TestDatabase(path)                 the start-up test (no message, no throw)
//   ConvertNumericPatientId(path)      the welcome page's one-time "Patient ID" conversion
//   InstallDatabase(options, source, target)
//                                      Configure Database's install step
//
// No Qt here: the welcome page shows the messages these results stand for.
#include <filesystem>
#include <optional>
#include <string>

// The two files start-up and Configure Database work with. Start-up
// chooses where they are (beside the program, or the user's own folders).
struct ProgramFiles {
    std::filesystem::path optionsFile;    // Options.dat
    std::filesystem::path emptyDatabase;  // the shipped empty Patients.mdb
    // Both in `folder`: a build folder or a portable copy.
    static ProgramFiles In(const std::filesystem::path& folder);
};

inline constexpr const char* kDatabaseNotConfigured = "Database Not Configured";
inline constexpr const char* kConfigureDatabaseLine = "Configure Database";

std::string& ConfiguredDatabasePath();

// The first line of Options.dat with trailing white space removed (a CR of
// a Windows line end included), read whole whatever its length.
// "Configure Database" gives kDatabaseNotConfigured. nullopt: the file is
// missing or unreadable.
std::optional<std::string> ReadConfiguredPath(const std::filesystem::path& optionsFile);

enum class DatabaseState {
    Works,
    NotConfigured,      // missing, not a database, or without the patient table
    Busy,               // locked by another program past the wait: it may work soon
    ServerUnavailable,  // the server cannot be reached or refuses the user: still the one configured
};

// Opens the database and reads PatientBasic as the patient record set's
// default query does. `problem`, when given, receives the database's words
// for a state other than Works.
DatabaseState TestDatabase(const std::string& path, std::string* problem = nullptr);

// Start-up: nullopt when Options.dat cannot be read (the caller shows the
// "corrupted or missing" message and ends); otherwise the configured path,
// which is kDatabaseNotConfigured when the database test finds it not
// configured. A busy database and an unavailable server keep their path: a
// workstation of a shared server must not drift to a file of its own. Also
// stores it in ConfiguredDatabasePath(), and the server's problem in
// StartUpProblem().
std::optional<std::string> StartUpDatabasePath(const std::filesystem::path& optionsFile);

// Why the configured server could not be used at start-up, in words naming
// it; empty when it could (the welcome page shows it once).
std::string& StartUpProblem();

// Turns a numeric "Patient ID" column of PatientBasic into text, keeping
// every patient's ID and every other column and index, in one transaction.
// Returns true when it converted; a text column is left as it is. Throws
// DbError when the database cannot be opened or changed.
bool ConvertNumericPatientId(const std::string& path);

enum class InstallOutcome {
    Installed,          // "The Kinevo database was successfully installed."
    AlreadyExists,      // "Database file already exists and was not overwritten.\nConfiguration successful."
    CopyFailed,         // the copy failed for another reason (error holds it); nothing changed
    OptionsUnreadable,  // "Options.dat file is either corrupted or missing. ..."; nothing changed
    TargetIsSource,     // the target is the shipped empty database itself; nothing changed
};
struct InstallResult {
    InstallOutcome outcome;
    std::string error;  // the system's text for CopyFailed
};

// Configure Database after the user confirmed `target`: the empty database
// `source` is copied there (readable by its owner only) unless a file exists
// at `target` already; when `target` then holds a file, Options.dat's first
// line becomes `target` (the rest of the file and its access rights kept)
// and ConfiguredDatabasePath() becomes `target`.
InstallResult InstallDatabase(const std::filesystem::path& optionsFile, const std::filesystem::path& source,
                              const std::filesystem::path& target);

// The folder part of a path, up to and including its last separator, as
// the Configure Database questions show it.
std::string FolderPart(const std::string& path);
