#include <gtest/gtest.h>
#include <sys/mount.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "DocumentTestSupport.h"
#include "document/CoefficientFiles.h"
#include "document/DocumentMessages.h"
#include "document/ReplacingFile.h"

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const fs::path& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

mode_t ModeOf(std::FILE* f)
{
    struct stat st {};
    ::fstat(::fileno(f), &st);
    return st.st_mode & 07777;
}

// Sets the umask for one test.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

private:
    mode_t m_old;
};

class Replacing : public FormTest {
protected:
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST(ReplacingFileName, TheTemporaryNameFitsTheFileNameLimit)
{
    EXPECT_EQ(ReplacingFile::TemporaryNameFor("keep.fir", 0x2a, 255), ".keep.fir.0000002a.tmp");
    for (size_t length = 230; length <= 255; ++length) {
        const std::string name(length, 'n');
        const std::string temp = ReplacingFile::TemporaryNameFor(name, 0xdeadbeef, 255);
        EXPECT_LE(temp.size(), 255u) << length;
        EXPECT_EQ(temp.substr(temp.size() - 13), ".deadbeef.tmp");
        EXPECT_EQ(temp.substr(0, 2), ".n");
    }
    EXPECT_EQ(ReplacingFile::TemporaryNameFor("abc", 1, 14), "..00000001.tmp");
}

TEST_F(Replacing, NamesOf242To255CharactersAreSaved)
{
    ASSERT_TRUE(SaveDocument(doc, view, Path("short.fir")));
    const Bytes expected = ReadBytes(Path("short.fir"));
    fs::remove(Path("short.fir"));
    for (size_t length = 242; length <= 255; ++length) {
        const std::string name = std::string(length - 4, 'x') + ".fir";
        EXPECT_TRUE(SaveDocument(doc, view, Path(name))) << length;
        EXPECT_EQ(ReadBytes(Path(name)), expected);
        // Saved again over itself, through a temporary of a shortened name.
        EXPECT_TRUE(SaveDocument(doc, view, Path(name))) << length;
        EXPECT_EQ(Names(), std::vector<std::string>{name});
        fs::remove(Path(name));
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(Replacing, TheTemporaryFileHasTheFinalModeFromTheStart)
{
    Umask mask(022);
    WriteBytes(Path("private.fir"), {1, 2, 3});
    ::chmod(Path("private.fir").c_str(), 0600);
    WriteBytes(Path("shared.fir"), {1, 2, 3});
    ::chmod(Path("shared.fir").c_str(), 0666);  // wider than the umask lets a new file be

    for (const auto& [name, mode] : {std::pair{"private.fir", 0600}, std::pair{"shared.fir", 0666},
                                     std::pair{"new.fir", 0644}}) {
        ReplacingFile file(Path(name));
        ASSERT_TRUE(file.Open()) << name;
        EXPECT_EQ(ModeOf(file.Stream()), static_cast<mode_t>(mode)) << name;  // before a byte is written
        ASSERT_TRUE(file.Write("new"));
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Commit());
        EXPECT_EQ(ModeOf(Path(name)), static_cast<mode_t>(mode)) << name;
        EXPECT_EQ(ReadText(Path(name)), "new");
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"new.fir", "private.fir", "shared.fir"}));
}

TEST_F(Replacing, EveryFailureLeavesTheOldFileAndNoTemporary)
{
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(Path("keep.fir"), old);

    {  // the disk fills up while writing
        ReplacingFile file(Path("keep.fir"));
        ASSERT_TRUE(file.Open());
        FileSizeLimit limit(4096);
        const bool written = file.Write(std::string(100000, 'x')) && file.Close();
        EXPECT_FALSE(written);
        EXPECT_EQ(file.Errno(), EFBIG);
    }
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.fir"});

    {  // the target becomes a folder before the rename
        ReplacingFile file(Path("keep.fir"));
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("new") && file.Close());
        fs::rename(Path("keep.fir"), Path("aside.fir"));
        fs::create_directory(Path("keep.fir"));
        WriteBytes(Path("keep.fir/inside"), old);
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"aside.fir", "keep.fir"}));
    EXPECT_EQ(ReadBytes(Path("keep.fir/inside")), old);
    fs::remove_all(Path("keep.fir"));
    fs::rename(Path("aside.fir"), Path("keep.fir"));

    {  // the folder moves before the rename
        ReplacingFile file(Path("keep.fir"));
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("new") && file.Close());
        fs::rename(m_dir, m_dir.string() + "-moved");
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(file.Errno(), ENOENT);
    }
    fs::rename(m_dir.string() + "-moved", m_dir);
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.fir"});

    // Devices, FIFOs and folders are never replaced by a plain file.
    ASSERT_EQ(::mkfifo(Path("pipe.fir").c_str(), 0644), 0);
    fs::create_directory(Path("folder.fir"));
    ReplacingFile pipe(Path("pipe.fir"));
    EXPECT_FALSE(pipe.Open());
    EXPECT_EQ(pipe.Errno(), EINVAL);
    ReplacingFile folder(Path("folder.fir"));
    EXPECT_FALSE(folder.Open());
    EXPECT_EQ(folder.Errno(), EISDIR);
    EXPECT_FALSE(SaveDocument(doc, view, Path("pipe.fir")));
    EXPECT_TRUE(fs::is_fifo(Path("pipe.fir")));
    EXPECT_EQ(MessageTexts(host), std::vector<std::string>{kMsgFailedToSave});
}

TEST_F(Replacing, AnUnnamedTemporaryLeavesNothingWhenKilledOrWhenTheFolderTurnsReadOnly)
{
    const Bytes old = {'o', 'l', 'd'};
    WriteBytes(Path("keep.fir"), old);
    {
        ReplacingFile probe(Path("keep.fir"));
        ASSERT_TRUE(probe.Open());
        if (!probe.TemporaryName().empty())
            GTEST_SKIP() << "this file system gives no unnamed files (O_TMPFILE); a named temporary remains "
                            "after a kill";
    }

    // The program is killed half-way through writing.
    const pid_t pid = ::fork();
    if (pid == 0) {
        ReplacingFile file(Path("keep.fir"));
        if (file.Open() && file.Write(std::string(100000, 'n')))
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.fir"});

    // The folder becomes read-only before the rename: the new file cannot be
    // put in place, nor could a named temporary be removed.
    const uid_t user = ::geteuid() == 0 ? kNobody : ::geteuid();
    ASSERT_EQ(::chown(m_dir.c_str(), user, -1), 0);
    ASSERT_EQ(::chown(Path("keep.fir").c_str(), user, -1), 0);
    const int result = WithoutPrivileges([&]() {
        ReplacingFile file(Path("keep.fir"));
        if (!file.Open() || !file.Write("new") || !file.Close())
            return 1;
        ::chmod(m_dir.c_str(), 0555);
        const bool committed = file.Commit();
        return !committed && file.Errno() == EACCES ? 0 : 2;
    });
    ::chmod(m_dir.c_str(), 0755);
    ASSERT_NE(result, 100) << "could not run without privileges";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(Path("keep.fir")), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.fir"});
}

TEST_F(Replacing, AFullDiskKeepsTheDocumentAndTheCoefficientFiles)
{
    const fs::path small = m_dir / "small";
    fs::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no small tmpfs can be mounted here (" << std::strerror(errno)
                     << "); the RLIMIT_FSIZE tests cover a full disk";
    struct Unmount {
        fs::path path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{small};

    ASSERT_TRUE(SaveDocument(doc, view, (small / "keep.fir").string()));
    CPoints taps(5);
    for (int i = 0; i < 5; ++i)
        taps[i] = Complex(0.1 * i, 0.0);
    ASSERT_TRUE(WriteCoefficientFiles((small / "lp").string(), 0, NF_Q15, 5, taps, &view));
    const Bytes document = ReadBytes(small / "keep.fir");
    const Bytes header = ReadBytes(small / "lp.h");
    const Bytes source = ReadBytes(small / "lp.c");

    // Fill the disk.
    {
        std::FILE* filler = std::fopen((small / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(512, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }

    doc.m_FilPar.m_InputData.SetSize(512);
    doc.m_FilPar.m_bInputData = 1;
    EXPECT_FALSE(SaveDocument(doc, view, (small / "keep.fir").string()));
    CPoints many(1025);
    EXPECT_FALSE(WriteCoefficientFiles((small / "lp").string(), 0, NF_DOUBLE, 1025, many, &view));
    EXPECT_EQ(MessageTexts(host)[0], "Disk full while accessing keep.fir.");
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[1].text.rfind("Cannot write file ", 0), 0u);

    EXPECT_EQ(ReadBytes(small / "keep.fir"), document);
    EXPECT_EQ(ReadBytes(small / "lp.h"), header);
    EXPECT_EQ(ReadBytes(small / "lp.c"), source);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(small))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"filler", "keep.fir", "lp.c", "lp.h"}));
}
