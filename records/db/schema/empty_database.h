#pragma once
// Makes new patient database files with the six empty tables of
// resources/patients_schema.sql (compiled in at build time), and the files a
// first start needs beside the program.
#include <filesystem>
#include <string>

// Beside the executable: the empty database that Configure Database copies,
// and the start-up file whose first line is the database path.
inline constexpr const char* kEmptyDatabaseName = "Patients.mdb";
inline constexpr const char* kOptionsFileName = "Options.dat";
// The working database a fresh build points Options.dat at, inside the
// program's folder, apart from the empty copy so that copy stays empty.
inline constexpr const char* kDefaultDatabaseFolder = "data";

// The schema text itself.
const std::string& PatientsSchemaSql();

// Creates `path` with the schema, readable by its owner only. Refuses
// (std::runtime_error) when the file exists already, so a database with
// patients is never replaced.
void CreateEmptyDatabase(const std::filesystem::path& path);

// Makes `workingDatabase` as a copy of `emptyDatabase` and `optionsFile`
// naming it, each only when missing, so a rebuild or a later start never
// touches patients or a configured path. Both, and the folders made for
// them, are readable by their owner only. Throws std::runtime_error or
// std::filesystem::filesystem_error when a file cannot be made.
void WriteFirstStartFiles(const std::filesystem::path& emptyDatabase, const std::filesystem::path& optionsFile,
                          const std::filesystem::path& workingDatabase);
