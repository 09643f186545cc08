#include "platform/ui/kernel/CustomControl.h"

#include "platform/gfx/PainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace ui {

// Hands its painting to the control it belongs to.
class TCustomControl::PaintWidget : public QWidget {
public:
    explicit PaintWidget(TCustomControl* control) : control_(control) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (control_->HasState(core::csDestroying))
            return;
        QPainter painter(this);
        control_->PaintOn(painter);
    }

private:
    TCustomControl* control_;
};

TCustomControl::TCustomControl(core::TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<gfx::TPainterCanvas>(nullptr))
{
    SetWidget(new PaintWidget(this));
}

TCustomControl::~TCustomControl() = default;

gfx::TCanvas& TCustomControl::Canvas()
{
    return *canvas_;
}

void TCustomControl::Repaint()
{
    if (Widget() != nullptr)
        Widget()->repaint();
}

void TCustomControl::PaintTo(QImage& image)
{
    QPainter painter(&image);
    PaintOn(painter);
}

void TCustomControl::PaintOn(QPainter& painter)
{
    canvas_->SetPainter(&painter);
    // Every paint starts from what the device holds after a fresh start.
    canvas_->Refresh();
    Fire([this] { Paint(); });
    canvas_->SetPainter(nullptr);
}

void AssignControlFont(gfx::TFont& dest, const gfx::TFont& source)
{
    dest.SetName(source.Name());
    dest.SetSize(source.Size());
    dest.SetStyle(source.Style());
    dest.SetColor(source.Color());
}

} // namespace ui
