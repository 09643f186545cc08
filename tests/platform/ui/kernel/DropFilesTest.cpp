#include "platform/core/Exceptions.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/DropFiles.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <string>
#include <vector>

using namespace ui;

namespace {

// A scrolling control on a shown form whose window procedure records dropped files.
struct DropWindow {
    TForm* form = CreateComponent<TForm>(nullptr);
    TMemo* memo = new TMemo(form);
    std::vector<std::vector<std::string>> drops;
    std::vector<TPoint> points;
    std::vector<HDROP> handles;
    bool keepHandle = true;
    bool raise = false;

    DropWindow()
    {
        form->SetBounds(10, 10, 300, 200);
        memo->SetParent(form);
        memo->SetBounds(0, 0, 300, 200);
        TWndMethod previous = memo->WindowProc;
        memo->WindowProc = [this, previous](TMessage& message) {
            if (message.Msg != WM_DROPFILES) {
                previous(message);
                return;
            }
            auto drop = reinterpret_cast<HDROP>(message.WParam);
            handles.push_back(drop);
            std::vector<std::string> files;
            const UINT count = DragQueryFile(drop, DragFileCount, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
                DragQueryFile(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
                files.push_back(name);
            }
            drops.push_back(files);
            TPoint point;
            DragQueryPoint(drop, point);
            points.push_back(point);
            if (!keepHandle)
                DragFinish(drop);
            if (raise)
                throw core::Exception("Soubor nelze přečíst");
        };
        form->Show();
    }
    ~DropWindow() { FreeComponent(form); }

    QWidget* viewport() const { return static_cast<QAbstractScrollArea*>(memo->Widget())->viewport(); }
};

QMimeData* FileData(const std::vector<std::string>& files)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const std::string& file : files)
        urls << QUrl::fromLocalFile(QString::fromStdString(file));
    data->setUrls(urls);
    return data;
}

// Drags data over a widget and drops it there; answers whether the widget took the drop.
bool DragAndDrop(QWidget* target, QMimeData* data, QPoint at)
{
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

} // namespace

TEST(DropFiles, HandleAnswersCountLengthsAndNamesInBytes)
{
    HDROP drop = NewDropHandle({"/tmp/žluťoučký kůň.xml", "/tmp/b.xml"}, TPoint{7, 9});
    EXPECT_EQ(DragQueryFile(drop, DragFileCount, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFile(drop, 0, nullptr, 0), std::string("/tmp/žluťoučký kůň.xml").size());
    EXPECT_EQ(DragQueryFile(drop, 2, nullptr, 0), 0u);

    char buffer[64];
    EXPECT_EQ(DragQueryFile(drop, 1, buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "/tmp/b.xml");
    // A short buffer gets the beginning and the closing zero.
    EXPECT_EQ(DragQueryFile(drop, 1, buffer, 5), 4u);
    EXPECT_STREQ(buffer, "/tmp");
    EXPECT_EQ(DragQueryFile(drop, 1, buffer, 0), 0u);

    TPoint point;
    ASSERT_TRUE(DragQueryPoint(drop, point));
    EXPECT_EQ(point, (TPoint{7, 9}));

    EXPECT_TRUE(DropHandleLive(drop));
    DragFinish(drop);
    EXPECT_FALSE(DropHandleLive(drop));
    // A handle given back answers nothing, and giving it back again does no harm.
    EXPECT_EQ(DragQueryFile(drop, DragFileCount, nullptr, 0), 0u);
    EXPECT_FALSE(DragQueryPoint(drop, point));
    DragFinish(drop);
    DragFinish(nullptr);
}

TEST(DropFiles, FilesDroppedOnARegisteredWindowReachItsProcedureAfterTheDrop)
{
    DropWindow window;
    DragAcceptFiles(window.memo->Handle(), true);
    DragAcceptFiles(window.memo->Handle(), true); // once is enough
    EXPECT_TRUE(AcceptsDroppedFiles(window.memo->Handle()));

    QMimeData* data = FileData({"/tmp/první.xml", "/tmp/druhý.xml"});
    ASSERT_TRUE(DragAndDrop(window.viewport(), data, QPoint(20, 30)));
    // Nothing yet: the message comes when the drop is over.
    EXPECT_TRUE(window.drops.empty());
    QApplication::processEvents();
    delete data;

    ASSERT_EQ(window.drops.size(), 1u);
    EXPECT_EQ(window.drops[0], (std::vector<std::string>{"/tmp/první.xml", "/tmp/druhý.xml"}));
    const QPoint inWindow = window.viewport()->mapTo(window.memo->Widget(), QPoint(20, 30));
    EXPECT_EQ(window.points[0], (TPoint{inWindow.x(), inWindow.y()}));
    // The procedure kept the handle: it was released after it.
    EXPECT_FALSE(DropHandleLive(window.handles[0]));
}

TEST(DropFiles, DragsWithoutLocalFilesAreLeftToTheWindow)
{
    DropWindow window;
    DragAcceptFiles(window.memo->Handle(), true);
    auto* text = new QMimeData;
    text->setText("jen text");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, text, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(window.viewport(), &enter);
    QApplication::processEvents();
    EXPECT_TRUE(window.drops.empty());

    auto* remote = new QMimeData;
    remote->setUrls({QUrl("https://example.org/a.xml")});
    DragAndDrop(window.viewport(), remote, QPoint(5, 5)); // the editor may take it as text
    QApplication::processEvents();
    EXPECT_TRUE(window.drops.empty());
    delete text;
    delete remote;
}

TEST(DropFiles, AWindowTakenOffTakesNoMoreFiles)
{
    DropWindow window;
    DragAcceptFiles(window.memo->Handle(), true);
    DragAcceptFiles(window.memo->Handle(), false);
    EXPECT_FALSE(AcceptsDroppedFiles(window.memo->Handle()));
    EXPECT_FALSE(window.viewport()->acceptDrops());
    QMimeData* data = FileData({"/tmp/a.xml"});
    DragAndDrop(window.viewport(), data, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_TRUE(window.drops.empty());
    delete data;
}

TEST(DropFiles, AFailingProcedureGoesToTheDefaultHandlerAndTheHandleIsReleased)
{
    DropWindow window;
    window.raise = true;
    std::string heard;
    Application->OnException = [&](core::TObject*, const std::exception& e) { heard = e.what(); };
    DeliverDroppedFiles(window.memo->Handle(), {"/tmp/a.xml"});
    Application->OnException = nullptr;
    EXPECT_EQ(heard, "Soubor nelze přečíst");
    ASSERT_EQ(window.handles.size(), 1u);
    EXPECT_FALSE(DropHandleLive(window.handles[0]));
}

TEST(DropFiles, AHandleGivenBackByTheProcedureIsNotReleasedTwice)
{
    DropWindow window;
    window.keepHandle = false;
    DeliverDroppedFiles(window.memo->Handle(), {"/tmp/a.xml"});
    ASSERT_EQ(window.drops.size(), 1u);
    EXPECT_FALSE(DropHandleLive(window.handles[0]));
    // A window without a control of ours gets nothing.
    QWidget stray;
    DeliverDroppedFiles(&stray, {"/tmp/b.xml"});
    EXPECT_EQ(window.drops.size(), 1u);
}
