// The card follows its window's size: the resize handler and the page
// layout by tab, through the proportional layout routines.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "card/TwipsGeometry.h"
#include "panels/ucIDArqDoc.h"
#include "panels/ucIDComm.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTipos_Links.h"
#include "panels/ucIDTulvas.h"
#include "panels/ucIDTulvas_Details.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

namespace {

using namespace TwipsGeometry;

// pos and count go by reference in the layout routines.
void along(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    CardLayout::Rpl_Expand_Along(c, pos, count, dw, dh, s);
}
void bottom(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    CardLayout::Rpl_Expand_Bottom(c, pos, count, dw, dh, s);
}
void moveAlong(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    CardLayout::Rpl_Move_Along(c, pos, count, dw, dh, s);
}
void moveBottom(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    CardLayout::Rpl_Move_Bottom(c, pos, count, dw, dh, s);
}

constexpr int tabTableSize = 11; // entries of the per-tab size tables

} // namespace

void frmInicial::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!loaded_ || isMinimized())
        return;
    try {
        if (Width(this) < card::minimumWidth || Height(this) < card::minimumHeight) {
            TwipsGeometry::setWidth(this, qMax(Width(this), card::minimumWidth));
            TwipsGeometry::setHeight(this, qMax(Height(this), card::minimumHeight));
            return; // the snap-back resize lays out
        }
        followWindowSize();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Form_Resize"), e);
    }
}

// The header and the shown tab laid out for the window's size, from the size
// they were last laid out for.
void frmInicial::followWindowSize()
{
    sizes_.width = Width(this);
    sizes_.height = Height(this);
    const int dw = sizes_.width - sizes_.previousWidth;
    const int dh = sizes_.height - sizes_.previousHeight;
    if (Frame_Selected < tabTableSize) {
        tabWidths_[Frame_Selected] += dw;
        tabHeights_[Frame_Selected] += dh;
    }
    bottom(TabStrip1, 1, 1, 0, 0, sizes_);
    along(TabStrip1, 1, 1, 0, 0, sizes_);
    along(BarraFundo, 1, 1, 0, 0, sizes_);
    along(CoolBar1, 1, 1, 0, 0, sizes_);
    for (QWidget* w : std::initializer_list<QWidget*>{Descrit2, commands_[2], ucIDTulvas1})
        moveAlong(w, 2, 1, 0, 0, sizes_);
    for (int i = 2; i <= 6; ++i)
        moveBottom(commands_[i], 2, 1, 0, 0, sizes_);
    Resize_Frame(Frame_Selected, 0, 0);
    sizes_.previousWidth = sizes_.width;
    sizes_.previousHeight = sizes_.height;
}

// Every placed widget as it was designed, kept when the card is built.
void frmInicial::keepDesignLayout()
{
    designPlaces_.clear();
    QList<QWidget*> parents{centralArea_};
    for (QWidget* frame : frames_)
        if (frame)
            parents << frame;
    for (QWidget* parent : parents)
        for (QObject* child : parent->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                designPlaces_.append({w, w->geometry()});
}

// A card opened again starts from the design, whatever size it was left at:
// the layout follows the window from there, so a card enlarged once never
// keeps the large layout in a smaller window.
void frmInicial::layOutFromDesign()
{
    for (const auto& [widget, geometry] : std::as_const(designPlaces_))
        if (widget)
            widget->setGeometry(geometry);
    std::fill(std::begin(tabWidths_), std::end(tabWidths_), 0);
    std::fill(std::begin(tabHeights_), std::end(tabHeights_), 0);
    sizes_ = {Width(this), Height(this), card::designWidth, card::designHeight};
    followWindowSize();
}

void frmInicial::Resize_Frame(int tab, int dw, int dh)
{
    const CardLayout::WindowSizes& s = sizes_;
    try {
        switch (tab) {
        case card::tabIdentification:
            along(frames_[card::tabIdentification], 1, 1, dw, dh, s);
            bottom(frames_[card::tabIdentification], 1, 1, dw, dh, s);
            along(ucIDFotos1, 5, 5, dw, dh, s);
            bottom(ucIDFotos1, 1, 3, dw, dh, s);
            for (QWidget* identity : std::initializer_list<QWidget*>{ucIDInstitucional1, ucIDSingular1}) {
                for (int i = 0; i < 4; ++i)
                    along(identity, 1, 5, dw, dh, s);
                bottom(identity, 1, 3, dw, dh, s);
            }
            along(ucIDMoradas1, 1, 2, dw, dh, s);
            bottom(ucIDMoradas1, 2, 3, dw, dh, s);
            along(ucIDRelacionados1, 2, 2, dw, dh, s);
            bottom(ucIDRelacionados1, 3, 3, dw, dh, s);
            along(ucIDTulvas_Details1, 2, 2, dw, dh, s);
            bottom(ucIDTulvas_Details1, 2, 3, dw, dh, s);
            along(ucIDTelefones1, 1, 4, dw, dh, s);
            bottom(ucIDTelefones1, 3, 3, dw, dh, s);
            along(ucIDEmails1, 2, 4, dw, dh, s);
            bottom(ucIDEmails1, 3, 3, dw, dh, s);
            break;
        case card::tabOtherInformation:
            along(frames_[card::tabOtherInformation], 1, 1, dw, dh, s);
            bottom(frames_[card::tabOtherInformation], 1, 1, dw, dh, s);
            bottom(ucIDTipos_Links1, 1, 2, dw, dh, s);
            along(ucIDTipos_Links1, 1, 6, dw, dh, s);
            along(ucIDComm1, 2, 6, dw, dh, s);
            along(ucIDComm1, 1, 6, dw, dh, s);
            along(ucIDComm1, 1, 2, dw, dh, s);
            bottom(ucIDComm1, 1, 2, dw, dh, s);
            along(ListView2, 1, 6, dw, dh, s);
            bottom(ListView2, 2, 2, dw, dh, s);
            moveAlong(Listview2_Label, 1, 6, dw, dh, s);
            moveBottom(Listview2_Label, 1, 6, dw, dh, s);
            along(ucIDObs1, 2, 6, dw, dh, s);
            along(ucIDObs1, 1, 6, dw, dh, s);
            along(ucIDObs1, 1, 2, dw, dh, s);
            bottom(ucIDObs1, 2, 2, dw, dh, s);
            break;
        case card::tabPermissions:
            for (QWidget* w :
                 std::initializer_list<QWidget*>{frames_[card::tabPermissions], ucIDPermitions1}) {
                along(w, 1, 1, dw, dh, s);
                bottom(w, 1, 1, dw, dh, s);
            }
            for (int i = 11; i <= 13; ++i)
                moveAlong(commands_[i], 2, 1, dw, dh, s);
            break;
        case card::tabArchive:
            for (QWidget* w : std::initializer_list<QWidget*>{frames_[card::tabArchive], ucIDArqDoc1}) {
                along(w, 1, 1, dw, dh, s);
                bottom(w, 1, 1, dw, dh, s);
            }
            break;
        default:
            break;
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Resize_Frame"), e);
    }
}
