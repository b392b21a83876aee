#include "startup.h"

#include "catalogue_list.h"
#include "scripted_dialogs.h"

#include "about/about_form.h"
#include "catalogue/demo.h"
#include "common/messages.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <filesystem>

namespace app {
namespace {

using testing_support::TempDir;
using testing_support::writeFile;

bool anyWindowVisible() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return true;
        }
    }
    return false;
}

TEST(Startup, ACatalogueThatCannotBeOpenedStopsTheStartInTheGeneralErrorBox) {
    TempDir dir;
    writeFile(dir.file("access.mdb"), std::string(4, '\0') + "Standard Jet DB" + std::string(100, '\0'));
    writeFile(dir.file("text.mdb"), "not a database at all");
    const struct {
        const char* name;
        std::string path;
        std::string text;
    } cases[] = {
        {"missing", dir.file("Data.mdb"), messages::catalogueMissing(dir.file("Data.mdb"))},
        {"Access", dir.file("access.mdb"), messages::catalogueIsAccess(dir.file("access.mdb"))},
        {"not SQLite", dir.file("text.mdb"), messages::catalogueNotSqlite(dir.file("text.mdb"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        EXPECT_EQ(startProgram(dialogs, c.path), nullptr);
        EXPECT_EQ(dialogs.shown, std::vector<std::string>{"出错:" + c.text});
        EXPECT_FALSE(anyWindowVisible());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("Data.mdb")));
}

TEST(Startup, MakesTheWindowTheDataModuleAndTheAboutDialog) {
    TempDir dir;
    catalogue::createDemoCatalogue(dir.file("Data.mdb"));
    ScriptedDialogs dialogs;
    const std::unique_ptr<Program> program = startProgram(dialogs, dir.file("Data.mdb"));
    ASSERT_NE(program, nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("睿衡达成绩评估系统"));
    // Nothing is shown or listed before the message loop shows the window.
    EXPECT_FALSE(program->mainForm().isVisible());
    auto* schools = program->mainForm().findChild<CatalogueList*>(QStringLiteral("ListView1"));
    ASSERT_NE(schools, nullptr);
    EXPECT_EQ(schools->rowCount(), 0);
    EXPECT_NE(program->mainForm().findChild<about::TAboutForm*>(), nullptr);
    EXPECT_TRUE(program->dataModule().connection().isOpen());
}

} // namespace
} // namespace app
