// Where the card opens: the stored position and tab, or a place by the
// screen's size.
#include "card/frmInicial.h"
#include "platform/windows/WidgetState.h"

#include "card/CardSettings.h"
#include "card/TwipsGeometry.h"
#include "card/WindowPlace.h"
#include "platform/values/Conversions.h"
#include "platform/values/Twips.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modRegistry.h"

namespace {

// Screen placement (twips).
constexpr int narrowScreen = 20490;
constexpr int taskbarAllowance = 450;
constexpr double sideMargin = 0.035;
constexpr int widestCard = 21600;
constexpr int tallScreen = 13500;
constexpr int tallestCard = 13000;
constexpr double topShare = 0.06;
constexpr int topLift = 250;
constexpr double heightMargin = 0.055;

} // namespace

void card::storeWindowPlace(const WindowPlace& place)
{
    const int values[windowValueCount] = {place.left, place.top, place.width, place.height, place.frame};
    for (int i = 0; i < windowValueCount; ++i)
        modRegistry::DefinirValorDWORD(windowKey, QString::fromLatin1(windowValueNames[i]), values[i]);
}

void card::keepWindowPlace(const WindowPlace& place)
{
    storeWindowPlace(place);
    modRegistry::DefinirValorDWORD(windowKey, QStringLiteral("AutoSize"), 0);
}

bool frmInicial::restoreWindow()
{
    vb::Variant values[card::windowValueCount];
    for (int i = 0; i < card::windowValueCount; ++i)
        values[i] =
            modRegistry::ObterValorDWORD(card::windowKey, QString::fromLatin1(card::windowValueNames[i]));
    for (const vb::Variant& v : values) {
        if (v.isNull()) {
            platform::WindowServices::current().messageBox(QStringLiteral("Erro nas definições do Registry!"),
                                                           platform::msgbox::Critical, caption());
            close();
            return false;
        }
    }
    int tab = vb::IsNumeric(values[card::frameValueIndex]) ? vb::CLng(values[card::frameValueIndex]) : 0;
    if (tab == 0)
        tab = card::tabIdentification;
    const vb::Variant autoSize = modRegistry::ObterValorDWORD(card::windowKey, QStringLiteral("AutoSize"));
    if (!autoSize.isNull() && vb::CStr(autoSize) == QLatin1String("0"))
        TwipsGeometry::move(this, vb::CLng(values[0]), vb::CLng(values[1]), vb::CLng(values[2]),
                            vb::CLng(values[3]));
    else
        placeByScreen();
    // Stored on a larger screen, the card still opens whole on this one.
    platform::widgetstate::keepOnScreen(this);
    selectTab(tab >= card::tabIdentification && tab <= card::tabCount ? tab : card::tabIdentification);
    return true;
}

QRect frmInicial::screenPlacement(int w, int h)
{
    if (w <= narrowScreen)
        return QRect(0, 0, w, h - taskbarAllowance);
    int left, width, top, height;
    const double m = sideMargin * w;
    if (w - 2 * m > widestCard) {
        width = widestCard;
        left = vb::CLng(vb::Variant((w - widestCard) / 2.0));
    } else {
        left = vb::CLng(vb::Variant(m));
        width = vb::CLng(vb::Variant(w - 2 * m));
    }
    if (h > tallScreen) {
        height = tallestCard;
        top = vb::CLng(vb::Variant((h - tallestCard) / 2.0));
    } else {
        top = vb::CLng(vb::Variant(topShare * h - topLift));
        height = vb::CLng(vb::Variant(h - 2 * heightMargin * h));
    }
    return QRect(left, top, width, height);
}

void frmInicial::placeByScreen()
{
    const QSize screen = vb::screenSizeTwips();
    const QRect r = screenPlacement(screen.width(), screen.height());
    TwipsGeometry::move(this, r.x(), r.y(), r.width(), r.height());
}
