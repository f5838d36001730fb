// Another program beside this one on a data file: side files of another account are named with
// their owner, those the program makes let the members of a folder's group work, one that holds a write lock is named in the
// message and waited for with a word to the window layer, and one that keeps a read open lets
// the log grow only until it starts over.

#include <grp.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <thread>

#include "db_fixture.h"
#include "platform/db/connection.h"
#include "support/fork.h"
#include "support/leftover_log.h"

using namespace dbtest;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Another program's connection to the file (SQLite takes a second connection of this process
// for another program: its locks keep the engine out in the same way).
struct OtherProgram {
    explicit OtherProgram(const std::string& file) { EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK); }
    ~OtherProgram() { sqlite3_close(db); }
    void exec(const std::string& sql) {
        char* msg = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "") << sql;
        sqlite3_free(msg);
    }
    sqlite3* db = nullptr;
};

uintmax_t logSize(const std::string& file) {
    std::error_code ec;
    const auto n = fs::file_size(file + "-wal", ec);
    return ec ? 0 : n;
}

}  // namespace

class OtherProgramTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        file = path("P.ZDB");
        makeDataFile(*ws, file)->Close();
        db::DBEngine::instance().setLockWaitHook([this] { ++waits; });
    }
    void TearDown() override {
        db::DBEngine::instance().setLockWaitHook({});
        DbTest::TearDown();
    }
    std::string file;
    std::atomic<int> waits{0};
};

// Before: "die Daten sind zurzeit gesperrt" without the file or what to do, and no sign of the wait.
TEST_F(OtherProgramTest, AWriteLockOfAnotherProgramIsNamedAndWaitedForOnce) {
    auto d = ws->OpenDatabase(file);
    addPerson(*d, "Anna", "Berg");
    OtherProgram other(file);
    other.exec("BEGIN IMMEDIATE; UPDATE info SET version = version");
    try {
        d->Execute("UPDATE persdat SET vorname = 'Anne'");
        ADD_FAILURE() << "written while another program holds the lock";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::RecordLocked);
        EXPECT_NE(e.description().find("anderes Programm"), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("„" + file + "“"), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("noch einmal"), std::string::npos) << e.description();
    }
    EXPECT_EQ(waits, 1);
    // A transaction of the program meets it the same way, and nothing of it is written.
    EXPECT_EQ(errorOf([&] { d->BeginTrans(); }), vb::err::RecordLocked);
    EXPECT_EQ(waits, 2);

    // A lock given up while the program waits: the statement goes through after the one wait.
    db::DBEngine::instance().setBusyTimeout(20000);
    std::thread release([&] {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (waits < 3 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(100ms);
        other.exec("COMMIT");
    });
    d->Execute("UPDATE persdat SET vorname = 'Anne'");
    release.join();
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(outside(file, "select vorname from persdat"), "Anne");
    d->Close();
}

// Before: the log kept the size it grew to beside the reader (149 MB for 150 persons) until the
// file was closed.
TEST_F(OtherProgramTest, ALogGrownBesideAReaderShrinksOnceItStartsOver) {
    auto d = ws->OpenDatabase(file);
    addPerson(*d, "Erste", "Person");
    {
        OtherProgram reader(file);
        reader.exec("BEGIN; SELECT count(*) FROM persdat");
        for (int i = 0; i < 6; ++i) addPerson(*d, "Vor", "Nach" + std::to_string(i));
        ASSERT_GT(logSize(file), uintmax_t(2 * db::detail::kLogSizeLimit)) << "the reader must hold the log back";
        reader.exec("COMMIT");
    }
    // The next writes finish the checkpoint the reader held back, and the log starts over.
    for (int i = 0; i < 2; ++i) addPerson(*d, "Danach", std::to_string(i));
    EXPECT_LE(logSize(file), uintmax_t(db::detail::kLogSizeLimit));
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "9");
    d->Close();
}

namespace {

// An account (or group) for the tests that need another user, made once and kept. Tests that run
// at the same time may make it together: whoever loses the race finds it made.
uid_t account(const std::string& name) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (const passwd* pw = ::getpwnam(name.c_str())) return pw->pw_uid;
        support::run("useradd --system --no-create-home --shell /usr/sbin/nologin " + name);
        std::this_thread::sleep_for(100ms);
    }
    return 0;
}
gid_t groupId(const std::string& name) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (const struct group* g = ::getgrnam(name.c_str())) return g->gr_gid;
        support::run("groupadd --system " + name);
        std::this_thread::sleep_for(100ms);
    }
    return 0;
}

// Runs `body` in a child process as that account, with `gid` as its only group and the umask
// given: what it returns, or the engine's error ("3051: …") it raised.
std::string asUser(uid_t uid, gid_t gid, mode_t mask, const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t pid = support::forkChild();
    if (pid == 0) {
        ::close(fds[0]);
        std::string r;
        if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
            r = "no account";
        } else {
            ::umask(mask);
            try {
                r = body();
            } catch (const vb::Error& e) {
                r = std::to_string(e.number()) + ": " + e.description();
            } catch (const std::exception& e) {
                r = e.what();
            }
        }
        (void)!::write(fds[1], r.data(), r.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    support::childEnds(pid);
    return out;
}

}  // namespace

class OtherAccount : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as other accounts";
        a = account("zuvtest_a");
        b = account("zuvtest_b");
        gruppe = groupId("zuvtest_gruppe");
        ASSERT_TRUE(a && b && gruppe);
        // The test's folder is private: the accounts reach only the shared folder inside it.
        fs::permissions(path(""), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        ordner = path("geteilt");
        fs::create_directory(ordner);
    }
    // A person saved through the engine in the child's account: "ok" or the error.
    std::function<std::string()> speichern(const std::string& file) {
        return [this, file] {
            auto d = ws->OpenDatabase(file);
            addPerson(*d, "Von", "Kind");
            d->Close();
            return std::string("ok");
        };
    }
    uid_t a = 0, b = 0;
    gid_t gruppe = 0;
    std::string ordner;
};

// Before: with the index unreadable, "Datenträger- oder Netzwerkfehler (…/P.ZDB)" (3043); with it
// readable only, the file opened and every save failed as read-only (3027).
TEST_F(OtherAccount, AnIndexOfAnotherAccountIsNamedWithItsOwner) {
    fs::permissions(ordner, fs::perms::all);
    const std::string file = ordner + "/P.ZDB";
    makeDataFile(*ws, file)->Close();
    support::leaveSessionLog(file, 1);
    ASSERT_EQ(::chown(file.c_str(), a, a), 0);
    ASSERT_EQ(::chown((file + "-wal").c_str(), a, a), 0);
    ASSERT_EQ(::chown((file + "-shm").c_str(), b, b), 0);
    for (const mode_t mode : {0600, 0644}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(::chmod((file + "-shm").c_str(), mode), 0);
        const std::string before = support::readFile(file) + support::readFile(file + "-shm");
        const std::string r = asUser(a, a, 022, speichern(file));
        EXPECT_EQ(r.rfind("3051: ", 0), 0u) << r;
        EXPECT_NE(r.find("„P.ZDB-shm“"), std::string::npos) << r;
        EXPECT_NE(r.find("„zuvtest_b“"), std::string::npos) << r;
        EXPECT_NE(r.find("bitten Sie"), std::string::npos) << r;
        EXPECT_TRUE(support::readFile(file) + support::readFile(file + "-shm") == before);
    }
    // Its owner works with it as before.
    ASSERT_EQ(::chown((file + "-shm").c_str(), a, a), 0);
    EXPECT_EQ(asUser(a, a, 022, speichern(file)), "ok");
}

// A folder a group shares (the group's folder, setgid, umask 002): the file one member makes, and
// the log and index beside it, let another member save.
TEST_F(OtherAccount, FilesMadeInAGroupsFolderLetTheOtherMembersWork) {
    ASSERT_EQ(::chown(ordner.c_str(), 0, gruppe), 0);
    ASSERT_EQ(::chmod(ordner.c_str(), 02775), 0);
    const std::string file = ordner + "/Gruppe.ZDB";
    // Made by one member, whose program then ends without closing the file: its log stays.
    EXPECT_EQ(asUser(a, gruppe, 002,
                     [&] {
                         auto d = makeDataFile(*ws, file);
                         addPerson(*d, "Von", "A");
                         ::_exit(0);
                         return std::string();
                     }),
              "");
    for (const char* side : {"", "-wal", "-shm"}) {
        SCOPED_TRACE(side);
        struct stat st;
        ASSERT_EQ(::stat((file + side).c_str(), &st), 0);
        EXPECT_EQ(st.st_gid, gruppe);
        EXPECT_EQ(st.st_mode & 0777, 0664u);
    }
    EXPECT_EQ(asUser(b, gruppe, 002, speichern(file)), "ok");
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "2");
}
