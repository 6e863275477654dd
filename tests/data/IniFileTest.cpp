// The INI store: case-insensitive lookups and updates that keep the rest of the file.
#include "data/FileError.h"
#include "data/IniFile.h"
#include "tests/support/TestDb.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string IniPath()
{
    std::string path = TestFolder() + "/" + CurrentTestName() + ".ini";
    std::filesystem::remove_all(path);
    return path;
}

void WriteRaw(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string ReadRaw(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(IniFile, AMissingFileReadsAsDefaultsAndIsCreatedByTheFirstWrite)
{
    std::string path = IniPath();
    EXPECT_EQ(ReadProfileString(path, "S", "Key", "dflt"), "dflt");
    EXPECT_FALSE(std::filesystem::exists(path));

    WriteProfileString(path, "TVorkatMainForm", "FormVersion", "0");
    WriteProfileString(path, "TVorkatMainForm", "Flags", "0");
    EXPECT_EQ(ReadRaw(path), "[TVorkatMainForm]\r\nFormVersion=0\r\nFlags=0\r\n");
}

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCaseAndValuesLoseBlanksAndQuotes)
{
    std::string path = IniPath();
    WriteRaw(path, "top=ignored\n"
                   "[ tvorkatmainform ]\n"
                   "  domainbox_checked =  true  \n"
                   "Name=\"/tmp/a b.gdb\"\n"
                   "Half=\"open\n"
                   "Key=first\n"
                   "KEY=second\n"
                   "[Other]\n"
                   "Top=other\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("TVorkatMainForm", "DomainBox_Checked", "x"), "true");
    EXPECT_EQ(ini.ReadString("TVorkatMainForm", "name", "x"), "/tmp/a b.gdb");
    EXPECT_EQ(ini.ReadString("TVorkatMainForm", "Half", "x"), "\"open");
    EXPECT_EQ(ini.ReadString("TVorkatMainForm", "key", "x"), "first");
    // A key of another section, or before any section, is not this section's.
    EXPECT_EQ(ini.ReadString("TVorkatMainForm", "Top", "x"), "x");
    EXPECT_EQ(ini.ReadString("other", "top", "x"), "other");
}

TEST(IniFile, AnUpdateChangesOnlyItsLineAndKeepsEveryOtherByteAndLineBreak)
{
    std::string path = IniPath();
    WriteRaw(path, "; settings\n"
                   "[Other]\n"
                   "Key=keep\n"
                   "\n"
                   "[TVorkatMainForm]\r\n"
                   "  DOMAINBOX_CHECKED = true\r\n"
                   "Weird line\r\n"
                   "\r\n"
                   "[Last]\n"
                   "Tail=x");
    IniFile ini(path);
    ini.WriteString("TVorkatMainForm", "DomainBox_Checked", "False");
    ini.WriteString("TVorkatMainForm", "NewKey", "1");
    ini.WriteString("Last", "Added", "2");
    ini.WriteString("Fresh", "A", "3");
    ini.Save();
    // The first line break of the file sets the form of new ones.
    EXPECT_EQ(ReadRaw(path), "; settings\n"
                             "[Other]\n"
                             "Key=keep\n"
                             "\n"
                             "[TVorkatMainForm]\r\n"
                             "DOMAINBOX_CHECKED=False\r\n"
                             "Weird line\r\n"
                             "NewKey=1\n"
                             "\r\n"
                             "[Last]\n"
                             "Tail=x\n"
                             "Added=2\n"
                             "[Fresh]\n"
                             "A=3\n");
}

TEST(IniFile, ALineBreakInAValueCannotStartANewLineOfTheFile)
{
    std::string path = IniPath();
    WriteProfileString(path, "S", "Name", "a\n[Evil]\r\nb");
    EXPECT_EQ(ReadRaw(path), "[S]\r\nName=a [Evil]  b\r\n");
}

TEST(IniFile, AFileThatCannotBeReadOrWrittenIsAnErrorNamingIt)
{
    std::string path = IniPath();
    std::filesystem::create_directory(path);
    try {
        IniFile ini(path);
        FAIL() << "a folder was read as a file";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path + ": it is a folder");
    }
    std::string missingFolder = path + "/no/such.ini";
    try {
        WriteProfileString(missingFolder, "S", "K", "V");
        FAIL() << "a file was written into a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + missingFolder);
    }
}
