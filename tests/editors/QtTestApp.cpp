// One QApplication for the whole test program, made before the first test runs.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class CQtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "editors_fields_tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr)
            m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_pQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new CQtApplicationEnvironment);

}  // namespace
