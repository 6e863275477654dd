// The scratch copy of the Old Database that a rehearsal repairs, deleted when the rehearsal ends.
#pragma once
#include <string>

class RehearsalCopy {
public:
    // A local file is copied byte for byte, opened read-only; any other name (a database on a
    // server) is backed up and restored into a local file by Firebird's gbak. user and
    // password reach gbak through its environment, not its command line.
    RehearsalCopy(const std::string& oldName, const std::string& user, const std::string& password);
    ~RehearsalCopy();
    RehearsalCopy(const RehearsalCopy&) = delete;
    RehearsalCopy& operator=(const RehearsalCopy&) = delete;

    const std::string& Path() const { return copy_; }

private:
    void CopyFile(const std::string& from);
    void BackUpAndRestore(const std::string& gbak, const std::string& from, const std::string& user,
                          const std::string& password);
    void Remove() noexcept;

    std::string folder_;
    std::string copy_;
    std::string backup_;
};

// The gbak on PATH, or empty.
std::string FindGbak();
// Whether RehearsalCopy copies oldName with gbak: any name but that of a local file.
bool CopiedWithGbak(const std::string& oldName);
