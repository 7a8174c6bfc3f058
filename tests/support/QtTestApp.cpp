// Gives every test of a binary that links this object a QApplication on the offscreen
// platform, created before the first test and kept until the last.
#include "Artwork.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "trivora-test";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Trivora"));
        // Tests never write rendered pictures into the user's cache.
        Artwork::setDiskCacheFolder(QString());
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
} // namespace
