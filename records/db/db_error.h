#pragma once
// Every failure of the database engine arrives as a DbError whose what() is
// the engine's own text, so the pages can show it as it is. Some failures get
// words of their own, because the user must act differently on them.
#include <stdexcept>
#include <string>

enum class DbFault {
    Engine,          // the engine's own text
    Busy,            // another program holds the file locked; trying again may work
    PatientChanged,  // the stored patient is gone or is now someone else
    Unreachable,     // the database server cannot be reached or the connection dropped
    LoginRefused,    // the server answers but refuses this user (password, user or database)
};

inline constexpr const char* kDatabaseBusyText =
    "The patient database is in use by another workstation. Nothing was changed; please try again in a moment.";
// After the words naming the server. A write cut off with its connection is
// undone by the server.
inline constexpr const char* kServerUnreachableAdvice =
    "Please check the network connection, or ask the administrator whether the server is running.";
inline constexpr const char* kServerPasswordAdvice =
    "Please check the password in your ~/.pgpass file, or ask the administrator.";
// Cut off while the server was committing: only a new search can tell.
inline constexpr const char* kServerLostAtCommitText =
    "The connection to the patient database server was lost while saving, so it is not known whether the "
    "data were saved. Please search for the patient to see what was stored before saving again.";
inline constexpr const char* kPatientChangedText =
    "This patient was changed or deleted at another workstation, so nothing was saved. "
    "Please search for the patient again.";

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text, DbFault fault = DbFault::Engine)
        : std::runtime_error(text), fault_(fault) {}
    DbFault Fault() const { return fault_; }

private:
    DbFault fault_;
};
