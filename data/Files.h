// Text helpers shared by the run: database names, files and the error box text (Trim comes from db/Trim.h).
#pragma once
#include "db/Trim.h"

#include <string>
#include <vector>

// The whole text when a file of that name exists, else its first word (double quotes
// keep blanks inside a word and are removed).
std::string DatabaseNameFromField(const std::string& text);

// Replaces the file whole or not at all: the content goes to a temporary file beside it,
// is flushed to the disk and renamed over the old one. On any failure the old file stays
// as it was, no temporary file is left, and the error is "Cannot create file %s".
// Links are followed and stay links, also a dangling one, whose target is created. A
// device, FIFO or pipe (/dev/null, /dev/stdout) is written in place, never renamed over;
// a directory or a socket is refused with "Cannot create file %s: it is a ...".
void ReplaceFile(const std::string& path, const std::string& content);

// What a run will write, checked before it starts: what says which output it is ("the
// script", "the report"), path names the file.
struct OutputFile {
    std::string what;
    std::string path;
};

// Refuses, with a FileError naming both, an output that would be written over a database: the
// same file as the Old or the New Database (through a link too), or any existing file that
// starts as a Firebird or InterBase database does. Standard output ("-") is no file.
void CheckOutputIsNoDatabase(const OutputFile& output, const std::string& oldName, const std::string& newName);

// Whether the file starts with a database's header page: page type 1, a page size from 1024 to
// 65536 and an on-disk structure version.
bool StartsAsDatabase(const std::string& path);

// Writes every line followed by CR LF, replacing the file as ReplaceFile does.
void SaveLines(const std::string& path, const std::vector<std::string>& lines);

// The message as the error box shows it: a period appended when the last character's
// code is above that of the period.
std::string ErrorBoxText(const std::string& message);
