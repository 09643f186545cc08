// The preview control: zoom limits and fitting, paging, pages that appear
// while the run goes on, progress, attaching and detaching printers, links
// under the mouse, and the painted sheet.
#include "PreviewTestSupport.h"

#include "platform/ui/controls/TreeView.h"
#include "platform/ui/kernel/Forms.h"
#include "report/layout/RpMath.h"
#include "report/preview/RpPreview.h"
#include "report/preview/RpStandardPreview.h"
#include "report/printer/RpWindowMessages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

using namespace report;
using report::test::BeginTextPages;
using report::test::DeliverPosted;
using report::test::PageTexts;
using report::test::RunTextPages;

namespace {

struct Preview : testing::Test {
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    TRpPreview* preview = nullptr;
    Preview()
    {
        form->SetBounds(0, 0, 600, 500);
        preview = new TRpPreview(form);
        preview->SetParent(form);
    }
    ~Preview() override
    {
        DeliverPosted();
        ui::FreeComponent(form);
    }
    std::string ShownTexts() const
    {
        gfx::TMetafile* page = preview->PreviewImage()->Metafile();
        return page != nullptr ? PageTexts(*page) : "(none)";
    }
    void MoveMouse(ui::TControl* control, int x, int y)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(control->Widget(), &move);
    }
};

} // namespace

TEST_F(Preview, ZoomTakesTwoToTwoThousandPercent)
{
    EXPECT_EQ(preview->Width(), 250);
    EXPECT_EQ(preview->Height(), 250);
    EXPECT_EQ(preview->Zoom(), 100);
    EXPECT_EQ(preview->ZoomState(), TRpZoomState::rpZoomOther);
    for (int refused : {1, 2001, 0, -5}) {
        preview->SetZoom(refused);
        EXPECT_EQ(preview->Zoom(), 100) << refused;
    }
    preview->SetZoom(2);
    EXPECT_EQ(preview->Zoom(), 2);
    EXPECT_EQ(preview->PreviewImage()->Zoom(), 2);
    preview->SetZoom(2000);
    EXPECT_EQ(preview->Zoom(), 2000);
}

TEST_F(Preview, WithoutAPrinterTheImageIsALetterSheetCentredWhereItIsNarrower)
{
    preview->SetZoom(100);
    TRpPreviewImage* image = preview->PreviewImage();
    EXPECT_EQ(image->Width(), 220);
    EXPECT_EQ(image->Height(), 283);
    EXPECT_EQ(image->Left(), 15); // (250 - 220) / 2
    EXPECT_EQ(image->Top(), 0);   // taller than the preview
    EXPECT_EQ(preview->VertScrollBar().Range(), 283);

    // Fit: 95 % of the smaller ratio; width: 95 % of the width ratio.
    preview->ZoomToFit();
    EXPECT_EQ(preview->Zoom(), RpRound(250 / 279.4L * 95));
    EXPECT_EQ(preview->ZoomState(), TRpZoomState::rpZoomToFit);
    preview->ZoomToWidth();
    EXPECT_EQ(preview->Zoom(), RpRound(250 / 215.9L * 95));
    EXPECT_EQ(preview->ZoomState(), TRpZoomState::rpZoomToWidth);
    EXPECT_EQ(image->Width(), RpRound(215.9L / 100 * preview->Zoom()) + 4);

    // Without a printer there is no page to go to.
    preview->SetPageNumber(2);
    EXPECT_EQ(preview->PageNumber(), 1);
    EXPECT_FALSE(image->HasPage());
}

TEST_F(Preview, WithAPrinterTheZoomFollowsItsPaperAndTheFitFollowsResizing)
{
    TRpPrinter printer(nullptr);
    RunTextPages(printer, {{"Strana 1"}});
    preview->SetRpPrinter(&printer);
    long double pageWidth = printer.XSize(printer.PaperWidth());
    long double pageLength = printer.YSize(printer.PaperLength());

    preview->ZoomToFit();
    int fit = std::min(RpRound(250 / pageWidth * 95), RpRound(250 / pageLength * 95));
    EXPECT_EQ(preview->Zoom(), fit);
    preview->ZoomToWidth();
    EXPECT_EQ(preview->Zoom(), RpRound(250 / pageWidth * 90)) << "90 % with a printer";

    preview->SetZoom(100);
    TRpPreviewImage* image = preview->PreviewImage();
    EXPECT_EQ(image->Width(), printer.XSize(printer.PaperWidth() / 100.0L * 100) + 4);
    EXPECT_EQ(image->Height(), printer.YSize(printer.PaperLength() / 100.0L * 100) + 4);
    EXPECT_EQ(image->Left(), 0);
    EXPECT_EQ(preview->HorzScrollBar().Range(), image->Width());

    // A fitted page is fitted again when the preview changes its size.
    preview->ZoomToWidth();
    preview->SetWidth(500);
    EXPECT_EQ(preview->ZoomState(), TRpZoomState::rpZoomToWidth);
    EXPECT_EQ(preview->Zoom(), RpRound(500 / pageWidth * 90));
    // A zoom of its own stays.
    preview->SetZoom(70);
    preview->SetWidth(300);
    EXPECT_EQ(preview->Zoom(), 70);
}

TEST_F(Preview, PagesOutsideThePrintersAreRefused)
{
    TRpPrinter printer(nullptr);
    RunTextPages(printer, {{"Strana 1"}, {"Strana 2"}});
    preview->SetRpPrinter(&printer);
    EXPECT_EQ(ShownTexts(), "Strana 1");
    preview->VertScrollBar().SetPosition(100);
    for (int refused : {0, -1, 3}) {
        preview->SetPageNumber(refused);
        EXPECT_EQ(preview->PageNumber(), 1) << refused;
    }
    preview->SetPageNumber(2);
    EXPECT_EQ(preview->PageNumber(), 2);
    EXPECT_EQ(preview->PreviewImage()->PageNumber(), 2);
    EXPECT_EQ(ShownTexts(), "Strana 2");
    EXPECT_EQ(preview->VertScrollBar().Position(), 0);
}

TEST_F(Preview, PagesAppearWhileTheRunGoesOn)
{
    TRpPrinter printer(nullptr);
    std::vector<int> available;
    std::vector<int> progress;
    preview->OnPageAvailable = [&](core::TObject* sender, int n) {
        EXPECT_EQ(sender, preview);
        available.push_back(n);
    };
    preview->OnProgressUpdate = [&](core::TObject*, int p) { progress.push_back(p); };
    preview->SetRpPrinter(&printer);
    EXPECT_EQ(printer.Preview(), preview);
    EXPECT_TRUE(printer.ShowingPreview());

    // Page 1 is still being drawn: the preview shows nothing yet.
    BeginTextPages(printer, {{"První"}});
    DeliverPosted();
    EXPECT_FALSE(preview->PreviewImage()->HasPage());
    // Page 2 begins, page 1 is finished: the preview shows it by itself.
    printer.NewPage();
    printer.SetProgress(40);
    DeliverPosted();
    EXPECT_EQ(ShownTexts(), "První");
    EXPECT_EQ(available, std::vector<int>{1});
    EXPECT_EQ(progress, std::vector<int>{40});
    printer.EndDoc();
    DeliverPosted();
    EXPECT_EQ(available, (std::vector<int>{1, 2}));
    EXPECT_EQ(ShownTexts(), "První");
}

TEST_F(Preview, APageAskedForBeforeItIsDoneComesWhenItIsAvailable)
{
    TRpPrinter printer(nullptr);
    preview->SetRpPrinter(&printer);
    BeginTextPages(printer, {{"A"}, {"B"}});
    DeliverPosted();
    // Page 2 is begun but open: the image waits for it.
    preview->SetPageNumber(2);
    EXPECT_EQ(preview->PageNumber(), 2);
    EXPECT_FALSE(preview->PreviewImage()->HasPage());
    printer.EndDoc();
    DeliverPosted();
    EXPECT_EQ(ShownTexts(), "B");
}

TEST_F(Preview, AttachingAnotherPrinterDetachesTheFirstAndEitherMayGoFirst)
{
    auto first = std::make_unique<TRpPrinter>(nullptr);
    int afterPreview = 0;
    first->OnAfterPreview = [&](core::TObject*) { ++afterPreview; };
    RunTextPages(*first, {{"Jedna"}});
    preview->SetRpPrinter(first.get());
    EXPECT_TRUE(first->ShowingPreview());

    TRpPrinter second(nullptr);
    RunTextPages(second, {{"Dva"}});
    preview->SetRpPrinter(&second);
    EXPECT_EQ(first->Preview(), nullptr);
    EXPECT_FALSE(first->ShowingPreview());
    EXPECT_EQ(afterPreview, 1);
    EXPECT_EQ(ShownTexts(), "Dva");
    // The first printer's messages no longer reach the preview.
    int heard = 0;
    preview->OnProgressUpdate = [&](core::TObject*, int) { ++heard; };
    first->SetProgress(10);
    DeliverPosted();
    EXPECT_EQ(heard, 0);

    // A printer that goes takes itself from the preview.
    preview->SetRpPrinter(first.get());
    first.reset();
    EXPECT_EQ(preview->RpPrinter(), nullptr);
    EXPECT_FALSE(preview->PreviewImage()->HasPage());

    // A preview that goes takes itself from its printer.
    preview->SetRpPrinter(&second);
    delete preview;
    preview = nullptr;
    EXPECT_EQ(second.Preview(), nullptr);
    EXPECT_FALSE(second.ShowingPreview());
}

TEST_F(Preview, TheImagePaintsASheetWithBorderAndShadowOnlyWithAPage)
{
    TRpPrinter printer(nullptr);
    preview->SetZoom(50);
    TRpPreviewImage* image = preview->PreviewImage();
    QImage before(image->Width(), image->Height(), QImage::Format_RGB32);
    before.fill(Qt::green);
    image->Widget()->render(&before, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(before.pixelColor(0, 0), QColor(Qt::green)) << "no page, nothing painted";

    RunTextPages(printer, {{"Tištěný text na straně"}});
    preview->SetRpPrinter(&printer);
    preview->SetZoom(50);
    const int w = image->Width();
    const int h = image->Height();
    QImage shot(w, h, QImage::Format_RGB32);
    shot.fill(Qt::green);
    image->Widget()->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black)) << "border";
    EXPECT_EQ(shot.pixelColor(0, h / 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 3, h / 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w / 2, h - 3), QColor(Qt::black));
    // The border's lines close at every corner.
    EXPECT_EQ(shot.pixelColor(0, h - 3), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 3, h - 3), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 3, 0), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 1, h / 2), QColor(Qt::black)) << "shadow";
    EXPECT_EQ(shot.pixelColor(w / 2, h - 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 1, 0), QColor(Qt::green)) << "the shadow starts below the top";
    EXPECT_EQ(shot.pixelColor(w / 2, h / 2), QColor(Qt::white)) << "sheet";
    int dark = 0;
    for (int y = 1; y < h / 4; ++y)
        for (int x = 1; x < w - 3; ++x)
            if (qGray(shot.pixel(x, y)) < 128)
                ++dark;
    EXPECT_GT(dark, 10) << "the page's text is drawn";
}

TEST_F(Preview, LinksUnderTheMouseAreReportedAndFollowed)
{
    TRpPrinter printer(nullptr);
    RunTextPages(printer, {{"Odkaz"}});
    preview->SetRpPrinter(&printer);
    preview->SetZoom(200);
    TRpPreviewImage* image = preview->PreviewImage();
    image->SetHyperlinks({{10, 10, 50, 20, "INT:kapitola"}, {0, 0, 100, 100, "EXT:nikdy"}});
    EXPECT_EQ(image->LinkAt(20, 20), "INT:kapitola"); // (10, 10) at 100 %
    EXPECT_EQ(image->LinkAt(101, 41), "INT:kapitola");
    EXPECT_EQ(image->LinkAt(300, 300), "");
    EXPECT_EQ(image->LastLink(), "INT:kapitola");

    struct Seen {
        core::TObject* Sender;
        TRpHyperlinkEventType Type;
        std::string Link;
    };
    std::vector<Seen> seen;
    bool handle = false;
    preview->SetOnHyperlink([&](core::TObject* sender, TRpHyperlinkEventType type, const std::string& link,
                                bool& handled) {
        seen.push_back({sender, type, link});
        handled = handle;
    });
    std::vector<std::string> followed;
    TRpPrinter::RegisterLinkHandler("kap", [&](TRpPrinter*, const std::string& rest) { followed.push_back(rest); });

    MoveMouse(image, 40, 30);
    EXPECT_TRUE(image->IsLink());
    EXPECT_EQ(image->Cursor(), ui::TCursor::crHandPoint);
    MoveMouse(image, 42, 30); // no change, no second report
    QTest::mouseClick(image->Widget(), Qt::LeftButton, {}, QPoint(42, 30));
    handle = true;
    QTest::mouseClick(image->Widget(), Qt::LeftButton, {}, QPoint(42, 30));
    MoveMouse(image, 400, 400);
    EXPECT_FALSE(image->IsLink());
    EXPECT_EQ(image->Cursor(), ui::TCursor::crDefault);
    TRpPrinter::UnregisterLinkHandler("kap");

    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].Sender, &printer);
    EXPECT_EQ(seen[0].Type, TRpHyperlinkEventType::heCursorMoveOver);
    EXPECT_EQ(seen[0].Link, "INT:kapitola");
    EXPECT_EQ(seen[1].Type, TRpHyperlinkEventType::heGoto);
    EXPECT_EQ(seen[2].Type, TRpHyperlinkEventType::heGoto);
    EXPECT_EQ(seen[3].Type, TRpHyperlinkEventType::heCursorMoveAway);
    EXPECT_EQ(seen[3].Link, "");
    // Followed once: the second click was handled by the program.
    EXPECT_EQ(followed, std::vector<std::string>{"itola"});
}

TEST_F(Preview, ThePreviewsMouseEventsReachTheImageWhenAPrinterIsAttached)
{
    int clicks = 0;
    std::vector<int> downs;
    preview->OnClick = [&](core::TObject*) { ++clicks; };
    preview->OnMouseDown = [&](core::TObject*, ui::TMouseButton, ui::TShiftState, int x, int) { downs.push_back(x); };
    TRpPrinter printer(nullptr);
    RunTextPages(printer, {{"Klik"}});
    preview->SetRpPrinter(&printer);
    QTest::mouseClick(preview->PreviewImage()->Widget(), Qt::LeftButton, {}, QPoint(12, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, std::vector<int>{12});
}

TEST_F(Preview, TheOutlineFillsTheTreeViewAndLeadsToItsPage)
{
    TRpPrinter printer(nullptr);
    RunTextPages(printer, {{"Úvod"}, {"Obsah"}, {"Příloha"}});
    auto add = [&](const std::string& caption, int level, int page, int key) {
        auto entry = std::make_unique<TRpOutlineEntry>();
        entry->Caption = caption;
        entry->Level = level;
        entry->PageNumber = page;
        entry->NodeKey = key;
        printer.PageList().Outline().Entries.push_back(std::move(entry));
    };
    add("Úvod", 1, 1, 10);
    add("Obsah", 2, 2, 20);
    add("Mimo strom", 0, 3, 30);
    add("Příloha", 1, 3, 40);
    add("Hluboko", 3, 3, 50); // under the last node at level 2, which is "Obsah"
    add("Příliš hluboko", 32, 3, 60);

    auto* view = new ui::TTreeView(form);
    view->SetParent(form);
    preview->SetOutline(view);
    EXPECT_EQ(view->Items().Count(), 0) << "no printer yet";
    preview->SetRpPrinter(&printer);
    EXPECT_EQ(printer.OutlineView(), view);
    ui::TTreeNodes& nodes = view->Items();
    ASSERT_EQ(nodes.TopCount(), 2);
    EXPECT_EQ(nodes.Count(), 4);
    ui::TTreeNode* contents = nodes.TopItem(0)->Item(0);
    EXPECT_EQ(contents->Text(), "Obsah");
    EXPECT_EQ(contents->Data(), 20);
    EXPECT_EQ(contents->Item(0)->Text(), "Hluboko");
    EXPECT_EQ(nodes.TopItem(1)->Text(), "Příloha");

    // The standard window's handler shows the page of the chosen node.
    auto* window = ui::CreateComponent<TRpStandardPreview>(nullptr, &printer);
    window->OutlineViewChange(view, contents);
    EXPECT_EQ(window->RpPreview->PageNumber(), 2);
    window->OutlineViewChange(view, nodes.TopItem(1));
    EXPECT_EQ(window->RpPreview->PageNumber(), 3);
    window->OutlineViewChange(view, nullptr);
    EXPECT_EQ(window->RpPreview->PageNumber(), 3);
    ui::FreeComponent(window);

    // A tree view that goes is forgotten.
    preview->SetRpPrinter(&printer);
    delete view;
    EXPECT_EQ(preview->Outline(), nullptr);
    EXPECT_EQ(printer.OutlineView(), nullptr);
}

TEST_F(Preview, APrinterShownInASecondPreviewLeavesTheFirst)
{
    auto printer = std::make_unique<TRpPrinter>(nullptr);
    int afterPreview = 0;
    printer->OnAfterPreview = [&](core::TObject*) { ++afterPreview; };
    BeginTextPages(*printer, {{"Běžící"}, {"Další"}});
    preview->SetRpPrinter(printer.get());
    auto* second = new TRpPreview(form);
    second->SetParent(form);
    second->SetRpPrinter(printer.get());
    EXPECT_EQ(preview->RpPrinter(), nullptr);
    EXPECT_EQ(second->RpPrinter(), printer.get());
    EXPECT_EQ(printer->Preview(), second);
    EXPECT_TRUE(printer->ShowingPreview());
    EXPECT_FALSE(printer->Cancelled()) << "the run goes on";
    EXPECT_EQ(afterPreview, 0);
    printer->EndDoc();
    printer.reset();
    EXPECT_EQ(second->RpPrinter(), nullptr);
}
