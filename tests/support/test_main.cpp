#include <gtest/gtest.h>

#include <QApplication>

#include "support/sobald.h"

namespace {
// Steps a test left for a window that never came go with it.
class SchritteDesTests : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { support::schritteVerwerfen(); }
};
}  // namespace

// One QApplication for every test program: window and drawing tests need it, the rest don't mind.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new SchritteDesTests);
    return RUN_ALL_TESTS();
}
