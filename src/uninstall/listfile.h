// The installation's list file "Uninstall.lst" and the checks that keep each listed entry
// inside the program folder. The list is data written by another program, and the
// uninstaller may run with an administrator's rights: nothing outside the program folder
// may be named through it. Byte-level: no windows.h here.
#pragma once
#include <stddef.h>
#include <stdio.h>

enum { kListLineCapacity = 2048 };

// Reads the entries of a list file opened for reading in binary mode. An entry is one line
// without its line end and without trailing tabs, blanks and carriage returns; leading
// blanks belong to it. Empty lines are skipped, and so is every line whose entry does not
// fit capacity - 1 bytes or that holds a NUL byte: a line cut into pieces would make its
// tail an entry of its own, naming some other file.
class ListReader {
public:
    explicit ListReader(FILE* file) : file_(file) {}
    // The next entry into line (capacity bytes, at least 1); false at the end of the file.
    bool NextEntry(char* line, size_t capacity);
    // Back to the first line, for the next pass.
    bool Rewind();

private:
    FILE* file_;
};

// True when the entry's text can only name something below the folder it is joined to:
// not empty, not rooted (no leading '\' or '/', so no UNC path either), no ':' (no drive
// and no stream name), no control character, and no component made of dots alone beyond
// a single one ("..", "...", ". .").
bool IsRelativeEntry(const char* entry);

// The folder of the program whose full path is given, into folder (capacity bytes): the
// path up to its last backslash, which the folder keeps only for a drive root ("C:\").
// False when the path holds no backslash, the folder would be empty or does not fit.
bool ProgramFolderOf(const char* programPath, char* folder, size_t capacity);

// True when fullPath lies strictly below folder, a full path that ends in a backslash.
bool LiesBelowFolder(const char* fullPath, const char* folder);
