#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "form/FileCommands.h"
#include "platform/ScriptedHost.h"

using Bytes = std::vector<unsigned char>;

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Stores value's four bytes (host order, as the document files hold them) at offset.
inline void PutFloat(Bytes& b, size_t offset, float value)
{
    std::memcpy(b.data() + offset, &value, 4);
}

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> MessageTexts(const ScriptedHost& host)
{
    std::vector<std::string> texts;
    for (const auto& m : host.Messages())
        texts.push_back(m.text);
    return texts;
}

// While it lives, files written by this process cannot grow past bytes
// (writes fail with EFBIG, even for the superuser).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

inline constexpr uid_t kNobody = 65534;

// Runs fn in a child process whose permissions bind (the tests may run as
// the superuser, whom a read-only folder does not stop) and returns its
// result; 100 when the child could not give up its privileges.
inline int WithoutPrivileges(const std::function<int()>& fn)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(100);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// A scratch folder of its own for each test, removed afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("zantro-doc-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_dir, ec);
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

// The program as it starts: one document, the form on a scripted host,
// initialised for a new document.
class FormTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        view.SetHost(&host);
        view.SetDocument(&doc);
        host.CreateControls(view);
        ASSERT_EQ(view.OnCreate(), 0);
        NewDocument(doc, view);
    }

    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
};
