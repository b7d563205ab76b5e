#pragma once
// What each database engine provides to Database and Statement
// (database.h): statements run as given, values read back as text.
#include <memory>
#include <string>

#include "records/db/database.h"

class Cursor {
public:
    virtual ~Cursor() = default;
    virtual void Bind(int index, const SqlValue& value) = 0;
    virtual bool Step() = 0;
    virtual void Reset() = 0;
    virtual int ColumnCount() const = 0;
    virtual std::string ColumnName(int col) const = 0;
    virtual bool IsNull(int col) const = 0;
    virtual std::string Text(int col) const = 0;
};

class Connection {
public:
    virtual ~Connection() = default;
    virtual SqlEngine Engine() const = 0;
    virtual void Execute(const std::string& sql) = 0;
    // `sql` is written with ? placeholders; the engine adapts them.
    virtual std::unique_ptr<Cursor> Prepare(const std::string& sql) = 0;
    // Opens a write transaction that holds off every other writer.
    virtual void BeginWrite() = 0;
    virtual void Commit() = 0;
    // Never throws: it runs from destructors after a failure.
    virtual void Rollback() noexcept = 0;
};

std::unique_ptr<Connection> OpenSqlite(const std::string& path);
std::unique_ptr<Connection> OpenPostgres(const std::string& uri);
