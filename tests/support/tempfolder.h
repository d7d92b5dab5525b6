// A fresh folder under the temporary folder, deleted with everything in it at the end.
#pragma once
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // no final backslash
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Deletes a file or a folder tree, clearing attributes; does not follow reparse points.
void DeleteTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);  // "<missing>" when it cannot be read
bool PathExists(const std::string& path);
// Waits until none of the paths exists (a self-removal script runs after its program has
// ended, on cores shared with other work); false when some path is still there.
bool WaitUntilGone(const std::vector<std::string>& paths, unsigned long timeoutMs = 60000);
void MakeFolder(const std::string& path);      // with every missing parent
// The Windows path of this process's executable, and its folder.
std::string ProgramPath();
std::string ProgramFolder();
