#include "db_fixture.h"
#include "platform/db/jet_sql.h"
#include "support/vb_error.h"

using namespace dbtest;

namespace {

std::string repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

class Translator : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        d = ws->CreateDatabase(path("amp.sdb"), "", db::dbInstallation);
        d->Execute("CREATE TABLE p (a TEXT(20), b TEXT(20), c TEXT(20), n SHORT)");
        d->Execute("INSERT INTO p VALUES ('x', 'y', 'z', 1)");
        d->Execute("INSERT INTO p (a, c, n) VALUES ('x', 'z', 2)");  // b is Null
    }
    std::string value(const std::string& expression, int n = 1) {
        auto rs = d->OpenRecordset("SELECT " + expression + " AS v FROM p WHERE n = " + std::to_string(n));
        return rs->Fields("v").Value().toString();
    }
    std::shared_ptr<db::Database> d;
};

// Where a chain of "&" meets brackets on either side, every operand is joined whole, with Null as "".
TEST_F(Translator, AmpersandChainsBesideAndInsideBrackets) {
    EXPECT_EQ(value("(a & b) & c"), "xyz");
    EXPECT_EQ(value("a & (b & c)"), "xyz");
    EXPECT_EQ(value("((a & b)) & (c & '!')"), "xyz!");
    EXPECT_EQ(value("(((a & b) & c) & a) & b"), "xyzxy");
    EXPECT_EQ(value("Trim(a & b) & c"), "xyz");
    EXPECT_EQ(value("'[' & (n + 1) & ']'"), "[2]");
    EXPECT_EQ(value("(a & b) & c", 2), "xz");
    EXPECT_EQ(value("a & (b) & c", 2), "xz");
    auto rs = d->OpenRecordset("SELECT * FROM p WHERE (a & b) & c = 'xz' OR (c & (a)) = 'never'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("n").Value().toInt(), 2);
    auto all = d->OpenRecordset("p");
    all->FindFirst("(a & b) & c = 'xz'");
    ASSERT_FALSE(all->NoMatch());
    EXPECT_EQ(all->Fields("n").Value().toInt(), 2);
    all->FindFirst("n = 1 AND (c & (b & a)) = 'zyx'");
    EXPECT_FALSE(all->NoMatch());
    // A chain with an operand missing is a syntax error, not a quietly different text.
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("SELECT a & FROM p"); }), vb::err::SyntaxError);
}

// Deep brackets end in the engine's syntax error with a German reason, long before the stack or
// the clock would; inputs far beyond that still come back at once.
TEST_F(Translator, NestingBeyondASaneDepthIsASyntaxError) {
    for (int depth : {db::detail::kMaxNesting + 1, 5000, 100000}) {
        const std::string nested = repeat("(", depth) + "a & b" + repeat(")", depth);
        SCOPED_TRACE(depth);
        EXPECT_EQ(errorOf([&] { d->OpenRecordset("SELECT " + nested + " FROM p"); }), vb::err::SyntaxError);
        EXPECT_EQ(errorOf([&] { d->Execute("UPDATE p SET c = " + nested); }), vb::err::SyntaxError);
        auto rs = d->OpenRecordset("p");
        EXPECT_EQ(errorOf([&] { rs->FindFirst(nested + " = 'xy'"); }), vb::err::SyntaxError);
        const std::string why = messageOf([&] { rs->FindFirst(nested + " = 'xy'"); });
        EXPECT_NE(why.find("verschachtelt"), std::string::npos) << why;
        EXPECT_LT(why.size(), 400u);
    }
    // A chain nested to the right, each operand a bracket of its own: refused at once, not after
    // seconds of rewriting level by level.
    std::string rechts;
    for (int i = 0; i < 5000; ++i) rechts += "a & (";
    rechts += "b" + repeat(")", 5000);
    EXPECT_NE(messageOf([&] { d->OpenRecordset("SELECT " + rechts + " FROM p"); }).find("verschachtelt"),
              std::string::npos);
    // Unbalanced brackets and stray "&" go the same way.
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("SELECT " + repeat("(a & ", 3000) + " FROM p"); }), vb::err::SyntaxError);
    EXPECT_EQ(errorOf([&] { d->OpenRecordset("SELECT a " + repeat(") & ", 3000) + " FROM p"); }), vb::err::SyntaxError);
    // What SQLite itself refuses as too deep is reported the same way.
    const std::string twenty = repeat("(n + ", 60) + "1" + repeat(")", 60);
    EXPECT_NE(messageOf([&] { d->OpenRecordset("SELECT " + twenty + " FROM p"); }).find("verschachtelt"),
              std::string::npos);
    EXPECT_EQ(value(repeat("(", 20) + "a & b" + repeat(")", 20) + " & c"), "xyz");
}

// A statement or criterion of hundreds of kilobytes is translated in one pass; what SQLite cannot
// take is refused by number, and the message quotes only an excerpt of the text.
TEST_F(Translator, LongChainsAreTranslatedWhole) {
    const std::string chain = "'x'" + repeat(" & 'x'", 100000);
    const auto st = db::detail::translateStatement("SELECT " + chain + " AS v FROM p", nullptr);
    EXPECT_EQ(st.kind, db::detail::Statement::Select);
    EXPECT_EQ(std::count(st.sql.begin(), st.sql.end(), '|'), 2 * 100000);
    const std::string why = messageOf([&] { d->OpenRecordset("SELECT " + chain + " AS v FROM p"); });
    EXPECT_FALSE(why.empty());
    EXPECT_LT(why.size(), 400u);
    auto rs = d->OpenRecordset("p");
    EXPECT_EQ(errorOf([&] { rs->FindFirst("a = " + chain); }), vb::err::SyntaxError);
    // Two hundred operands are fine and give the whole text.
    EXPECT_EQ(value("a" + repeat(" & a", 199)), repeat("x", 200));
}
