#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kivo::platform;
using namespace kivo::testing;

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryBehind)
{
    TempDir dir;
    PosixFileSystem fs;
    const auto path = dir / "f.kivo";
    WriteAll(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(fs.WriteAtomic(path, "new content"));
    EXPECT_EQ(ReadAll(path), "new content");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the user's permissions are kept";
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicWrite, TemporariesOfKilledSavesGoWithTheNextSave)
{
    TempDir dir;
    PosixFileSystem fs;
    const auto path = dir / "club.mem";
    for (const char* left : {"club.mem.tmp-a1B2c3", "club.mem.tmp-ZZZZZZ"})
        WriteAll(dir / left, "half a save");
    for (const char* other : {"other.mem.tmp-a1B2c3", "club.mem.tmp-notmine", "club.mem"})
        WriteAll(dir / other, "keep");
    ASSERT_TRUE(fs.WriteAtomic(path, "new"));
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"club.mem", "club.mem.tmp-notmine", "other.mem.tmp-a1B2c3"}));
}

TEST(AtomicWrite, FailuresNameTheCauseAndKeepTheOldFile)
{
    TempDir dir;
    PosixFileSystem fs;
    std::filesystem::create_directory(dir / "sub.kivo");
    auto r = fs.WriteAtomic(dir / "sub.kivo", "x");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.description, "Is a directory");
    r = fs.WriteAtomic(dir / "missing/f.kivo", "x");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.description, "No such file or directory");
}

TEST(AtomicWrite, WritesThroughASymlinkToItsTarget)
{
    TempDir dir;
    PosixFileSystem fs;
    WriteAll(dir / "real.mem", "old");
    std::filesystem::create_symlink(dir / "real.mem", dir / "link.mem");
    ASSERT_TRUE(fs.WriteAtomic(dir / "link.mem", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mem"));
    EXPECT_EQ(ReadAll(dir / "real.mem"), "new");
}

TEST(AtomicWrite, AKillInTheMiddleLeavesTheOldFileWhole)
{
    TempDir dir;
    const auto path = dir / "big.mem";
    const std::string oldData(103000, 'o');
    const std::string newData(64 * 1024 * 1024, 'n');
    WriteAll(path, oldData);
    for (int round = 0; round < 6; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PosixFileSystem fs;
            fs.WriteAtomic(path, newData);
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(2000 + round * 7000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const auto size = FileSize(path);
        EXPECT_TRUE(size == static_cast<long long>(oldData.size()) || size == static_cast<long long>(newData.size()))
            << "round " << round << ": torn file of " << size << " bytes";
        if (size == static_cast<long long>(newData.size()))
            WriteAll(path, oldData);
    }
}

TEST(ReadOrCreate, CreatesMissingFilesAndRefusesDirectories)
{
    TempDir dir;
    PosixFileSystem fs;
    std::string out = "junk";
    ASSERT_TRUE(fs.ReadOrCreate(dir / "new.kivo", 100, out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(FileSize(dir / "new.kivo"), 0);
    WriteAll(dir / "long", std::string(500, 'x'));
    ASSERT_TRUE(fs.ReadOrCreate(dir / "long", 100, out));
    EXPECT_EQ(out.size(), 100u) << "never reads more than the layout needs";
    std::filesystem::create_directory(dir / "d");
    auto r = fs.ReadOrCreate(dir / "d", 100, out);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.description, "Is a directory");
}
