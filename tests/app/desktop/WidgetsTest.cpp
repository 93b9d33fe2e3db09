#include "app/desktop/IconView.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace rovex {
namespace {

// Counts the paints a widget receives.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

int paintsAfter(PaintCounter& counter, const std::function<void()>& change)
{
    QApplication::processEvents();
    counter.paints = 0;
    change();
    QApplication::processEvents();
    return counter.paints;
}

TEST(IconViewTest, RepaintsOnlyWhenTheSelectionChanges)
{
    IconView view(QStringLiteral("unused"), nullptr);
    PaintCounter counter;
    view.installEventFilter(&counter);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_FALSE(view.image().isNull()) << "the view shows its own image whatever the name";

    EXPECT_EQ(paintsAfter(counter, [&] { view.setIsSelected(false); }), 0);
    EXPECT_GT(paintsAfter(counter, [&] { view.setIsSelected(true); }), 0);
    EXPECT_EQ(paintsAfter(counter, [&] { view.setIsSelected(true); }), 0);
    EXPECT_TRUE(view.isSelected());
}

TEST(IconViewTest, PressTogglesSelectionThenCallsBack)
{
    IconView view(QStringLiteral("unused"), nullptr);
    bool selectedWhenCalled = false;
    int calls = 0;
    view.setOnMouseDown([&] {
        selectedWhenCalled = view.isSelected();
        ++calls;
    });
    QTest::mousePress(&view, Qt::LeftButton);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(selectedWhenCalled);
    QTest::mouseRelease(&view, Qt::LeftButton);
    EXPECT_TRUE(view.isSelected()) << "release does nothing of its own";
    QTest::mousePress(&view, Qt::LeftButton);
    EXPECT_FALSE(view.isSelected());
    view.setOnMouseDown({});
    QTest::mousePress(&view, Qt::LeftButton); // an empty callback is replaced by one doing nothing
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace rovex
