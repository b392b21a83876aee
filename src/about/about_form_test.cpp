#include "about_form.h"

#include "common/messages.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace about {
namespace {

QString labelText(const QWidget& form, const char* name) {
    const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

TEST(AboutForm, ShowsEveryLineOfTheTeam) {
    TAboutForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("关于系统"));
    EXPECT_EQ(form.size(), QSize(330, 225));
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"ProductName", QStringLiteral("睿衡达成绩评估系统")},
        {"Version", QStringLiteral("版本：2.0")},
        {"LabelZZ", QStringLiteral("作  者：") + QString::fromUtf8(messages::kAboutAuthor)},
        {"LabelDH", QStringLiteral("手  机：—")},
        {"LabelDW", QStringLiteral("单  位：") + QString::fromUtf8(messages::kAboutUnit)},
        {"LabelE_mail", QStringLiteral("E_mail：")},
        {"LabelEmail", QStringLiteral("—")},
        {"Label_http", QStringLiteral("网  址：")},
        {"Label1", QString::fromStdString(messages::physicalMemoryLabel())},
        {"Label2", QStringLiteral("使用内存：")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(labelText(form, c.name), c.text);
        // Every text fits in its label.
        const auto* label = form.findChild<QLabel*>(QString::fromLatin1(c.name));
        ASSERT_NE(label, nullptr);
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_LE(label->geometry().right(), form.width());
    }
}

TEST(AboutForm, EachShowingReadsTheMemoryAfresh) {
    std::vector<MemoryStatus> figures{{1073741824ULL, 37}, {2ULL * 1073741824ULL + 1536, 52}};
    std::size_t asked = 0;
    TAboutForm form(nullptr, [&]() -> std::optional<MemoryStatus> { return figures.at(asked++); });
    EXPECT_EQ(asked, 0U);
    form.show();
    EXPECT_EQ(labelText(form, "PhysMem"), QStringLiteral("1,048,576 KB"));
    EXPECT_EQ(labelText(form, "FreeRes"), QStringLiteral("37 %"));
    form.hide();
    form.show();
    EXPECT_EQ(asked, 2U);
    EXPECT_EQ(labelText(form, "PhysMem"), QStringLiteral("2,097,154 KB"));
    EXPECT_EQ(labelText(form, "FreeRes"), QStringLiteral("52 %"));
    const auto* memory = form.findChild<QLabel*>(QStringLiteral("PhysMem"));
    EXPECT_GE(memory->width(), memory->sizeHint().width());
    EXPECT_FALSE(form.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());
}

TEST(AboutForm, MemoryTheSystemDoesNotTellShowsADash) {
    TAboutForm form(nullptr, [] { return std::optional<MemoryStatus>(); });
    form.show();
    EXPECT_EQ(labelText(form, "PhysMem"), QStringLiteral("—"));
    EXPECT_EQ(labelText(form, "FreeRes"), QStringLiteral("—"));
}

TEST(AboutForm, IsCentredOnTheScreen) {
    TAboutForm form;
    form.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = form.frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

TEST(AboutForm, ClickOnTheAddressOpensTheBundledReadme) {
    std::vector<QUrl> opened;
    TAboutForm form(nullptr, readSystemMemory, [&](const QUrl& url) { opened.push_back(url); });
    form.show();
    auto* address = form.findChild<QLabel*>(QStringLiteral("Labelhttp"));
    ASSERT_NE(address, nullptr);
    QTest::mouseClick(address, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/README.md")));
    EXPECT_EQ(opened[0], readmeUrl());
    EXPECT_EQ(address->toolTip(), readmeUrl().toString());
}

TEST(AboutForm, OkEndsTheModalShowingAndTheDialogStays) {
    TAboutForm form;
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, &form, [&form] {
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        EXPECT_EQ(form.exec(), QDialog::Accepted);
        EXPECT_FALSE(form.isVisible());
    }
}

} // namespace
} // namespace about
