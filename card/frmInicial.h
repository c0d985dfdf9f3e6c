#pragma once
// The record card: one contact of the file "Contactos Quarvenses" on four
// tabs of identity panels. Loading is lazy: a tab is read when it is
// selected. Geometry is kept in twips, as the stored window values are.
#include "card/CardLayout.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Variant.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QRect>

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QTabBar;
class QTimer;
class QToolBar;
class QTreeWidget;
class frmMainChilds;
class ucIDArqDoc;
class ucIDComm;
class ucIDEmails;
class ucIDFotos;
class ucIDInstitucional;
class ucIDMoradas;
class ucIDObs;
class ucIDPermitions;
class ucIDRelacionados;
class ucIDSingular;
class ucIDTelefones;
class ucIDTipos_Links;
class ucIDTulvas;
class ucIDTulvas_Details;

class frmInicial : public QMainWindow {
    Q_OBJECT
public:
    explicit frmInicial(QWidget* parent = nullptr);
    ~frmInicial() override;

    // Public card state.
    bool prpEventos = false;
    bool isNew = false;
    bool inPro = false;
    qint32 Contacto_ID = 0;
    qint32 Frame_Selected = 0;
    QString NewTelefone;
    QPointer<frmMainChilds> frmParent;
    void* MainClass = nullptr; // the General that opened the card (not owned)
    vb::ObjectRef CallBackClass;
    qint32 clCurrentIndex = 0;
    qint32 clCurrentObject = 0;
    qint32 clLast_Related_ID = 0;
    ado::Recordset Rs = ado::Recordset::nothing();

    // True when the card is still there afterwards (it unloads itself when
    // the connection is closed or the stored window values are missing).
    bool Form_Load();
    void PreencherCampos(qint32& tab);
    void Fill_Descrit();
    void Fill_Modified();

    bool prpAlteracoes() const { return changed_; }
    void setPrpAlteracoes(bool changed);
    bool isSingular() const { return singular_; }
    bool isLoaded() const { return loaded_; }

    // Saves tab `index`; true when the save reached its normal end.
    bool GravarCampos(qint32& index);
    // Asks whether to save pending changes: 6 Yes (saved), 7 No, 2 Cancel;
    // 0 when hidden or unchanged. `frame` 0: the selected tab.
    qint32 AskForSavings(qint32 frame = 0);

    // Starts a new contact of the given kind on tab 1.
    void Novo(bool singular = true);

    // The selected tab, 1 to 4.
    int selectedTab() const;
    void selectTab(int index);
    // Navigation among the host's contacts.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

    // Where a card goes on a screen of that size (twips) when it does not
    // use its stored position: left, top, width, height.
    static QRect screenPlacement(int screenWidth, int screenHeight);

    // The design-time geometry tables of the layout.
    void Resize_Frame(int tab, int widthChange, int heightChange);
    int tabWidthEntry(int tab) const { return tabWidths_[tab]; }
    int tabHeightEntry(int tab) const { return tabHeights_[tab]; }

    // The panels and controls, for the host path and for tests.
    ucIDSingular* ucIDSingular1;
    ucIDInstitucional* ucIDInstitucional1;
    ucIDMoradas* ucIDMoradas1;
    ucIDTelefones* ucIDTelefones1;
    ucIDEmails* ucIDEmails1;
    ucIDObs* ucIDObs1;
    ucIDFotos* ucIDFotos1;
    ucIDTulvas* ucIDTulvas1;
    ucIDTulvas_Details* ucIDTulvas_Details1;
    ucIDPermitions* ucIDPermitions1;
    ucIDRelacionados* ucIDRelacionados1;
    ucIDTipos_Links* ucIDTipos_Links1;
    ucIDArqDoc* ucIDArqDoc1;
    ucIDComm* ucIDComm1;
    QLabel* Descrit1;
    QLabel* Descrit2;
    QTabBar* TabStrip1;
    QToolBar* Toolbar1;
    QLabel* statusPanel1;
    QList<QIcon> ImageList_Active;
    QList<QIcon> ImageList_Disabled;
    QAction* toolbarButton(const QString& key) const;
    // The image index (1-based) shown on a toolbar button.
    int toolbarImage(const QString& key) const;

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildFrames();
    void connectPanels();
    void preparePanels();
    bool restoreWindow();
    void placeByScreen();
    void TabStrip1_Click();
    void catchUp(int oldTab, int newTab);
    void loadIdentification();
    void loadOtherInformation();
    void loadPermissions();
    void loadArchive();
    void navigate(void (ado::Recordset::*move)(), int kind);
    void setToolbarEnabled(bool enabled);
    void showTitle(const QString& title);
    void Form_Unload();
    void reportError(const QString& procedure, const vb::Error& e) const;
    bool saveIdentification();
    bool saveOtherInformation();
    bool savePermissions();
    bool duplicateTaxNumber();
    bool saveFailed(const vb::Error* error);
    void saveSucceeded();
    QString caption() const;

    QFrame* frames_[5] = {};
    QWidget* centralArea_ = nullptr;
    QFrame* BarraFundo = nullptr;
    QWidget* CoolBar1 = nullptr;
    QPushButton* commands_[14] = {};
    QTreeWidget* ListView2 = nullptr;
    QLabel* Listview2_Label = nullptr;
    QTimer* Timer1 = nullptr;
    QAction* mnGravar = nullptr;
    QAction* mnConverterInstitucional = nullptr;
    QAction* mnConverterSingular = nullptr;
    QAction* mnTransferir = nullptr;
    QHash<QString, int> images_;
    bool changed_ = false;
    bool singular_ = true;
    bool loaded_ = false;
    bool unloading_ = false;
    CardLayout::WindowSizes sizes_;
    int tabWidths_[11] = {};
    int tabHeights_[11] = {};
};
