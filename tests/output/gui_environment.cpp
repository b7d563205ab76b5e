// Drawing text needs fonts, and fonts need a running Qt GUI application.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <memory>

namespace {
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "test_output";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
}  // namespace
