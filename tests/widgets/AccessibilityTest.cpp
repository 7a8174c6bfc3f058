#include "Gauge.h"
#include "ImageView.h"
#include "Panel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
QAccessibleActionInterface* actions(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->actionInterface();
}
} // namespace

// A picture or panel used as a button is a push button whose press action clicks it with the
// left button; other pictures are graphics and other panels named panes.
TEST(AccessibilityTest, PressableControlsAreButtons) {
    QWidget window;
    auto* button = new ImageView(&window, QStringLiteral("ok"));
    button->setAccessibleName(QStringLiteral("OK"));
    button->setPressable(true);
    auto* picture = new ImageView(&window, QStringLiteral("logo"));
    auto* clear = new Panel(&window, QStringLiteral("clear"));
    clear->setPressable(true);
    auto* pane = new Panel(&window, QStringLiteral("pane"));
    pane->setAccessibleName(QStringLiteral("Wrong"));

    QAccessibleInterface* ok = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(ok->role(), QAccessible::Button);
    EXPECT_EQ(ok->text(QAccessible::Name), QStringLiteral("OK"));
    ASSERT_NE(actions(button), nullptr);
    EXPECT_TRUE(actions(button)->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy down(button, &ImageView::mouseDown);
    QSignalSpy up(button, &ImageView::mouseUp);
    actions(button)->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(up.count(), 1);

    QSignalSpy clearDown(clear, &Panel::mouseDown);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(clear)->role(), QAccessible::Button);
    actions(clear)->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clearDown.count(), 1);

    EXPECT_EQ(QAccessible::queryAccessibleInterface(picture)->role(), QAccessible::Graphic);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(pane)->role(), QAccessible::Pane);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(pane)->text(QAccessible::Name),
              QStringLiteral("Wrong"));
}

// The gauge is a progress bar whose value, range and text follow its progress.
TEST(AccessibilityTest, GaugeIsAProgressBarWithItsValue) {
    Gauge gauge;
    gauge.setProgress(100);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&gauge);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface* value = bar->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 100);
    EXPECT_EQ(value->currentValue().toInt(), 100);
    gauge.setProgress(37);
    EXPECT_EQ(value->currentValue().toInt(), 37);
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("37%"));
    // Assistive technology cannot move the time.
    value->setCurrentValue(90);
    EXPECT_EQ(gauge.progress(), 37);
}
