#pragma once
// The record card: one contact of the file "Contactos Quarvenses" on four
// tabs of identity panels. Loading is lazy: a tab is read when it is
// selected. Geometry is kept in twips, as the stored window values are.
//
// The class is spread over one source per concern, each named after it:
// frmInicial.cpp (window, state, wiring), Frames.cpp (the tabs' frames),
// Commands.cpp (menus, toolbar and their dispatch), Loading.cpp (Form_Load,
// PreencherCampos), Descriptions.cpp (title and audit lines), TabChange.cpp,
// Navigation.cpp, Saving.cpp (GravarCampos, AskForSavings), NewContact.cpp,
// Resizing.cpp, WindowPosition.cpp and Closing.cpp.
#include "card/CardLayout.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Variant.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <functional>

class General;
class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QTabBar;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class frmMainChilds;
class frmNovo;
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
class IdentityPanel;

class frmInicial : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmInicial(QWidget* parent = nullptr);
    ~frmInicial() override;

    // ---- Public card state: set by General before Form_Load, read after ----
    bool prpEventos = false;           // the events list was changed since the last save
    bool isNew = false;                // the card holds a contact not stored yet
    bool inPro = false;                // a programmatic tab change (or preload) is under way
    qint32 Contacto_ID = 0;            // the contact shown; 0 for none
    qint32 Frame_Selected = 0;         // the tab whose panels are loaded, 1 to 4; 0 before the first load
    QString NewTelefone;               // a number the next new contact starts with
    QPointer<frmMainChilds> frmParent; // the window that owns the card
    General* MainClass = nullptr;      // the General that opened the card (not owned)
    vb::ObjectRef CallBackClass;       // told which contact was shown when the card closes
    qint32 clCurrentIndex = 0;         // the host's list context, handed back on closing
    qint32 clCurrentObject = 0;
    qint32 clLast_Related_ID = 0;
    ado::Recordset Rs = ado::Recordset::nothing(); // the host's list; its cursor is the contact shown

    // ---- Loading (Loading.cpp) ----
    // True when the card is still there afterwards (it unloads itself when
    // the connection is closed or the stored window values are missing).
    bool Form_Load();
    void PreencherCampos(qint32& tab);

    // ---- Title and audit lines (Descriptions.cpp) ----
    void Fill_Descrit();
    void Fill_Modified();

    // ---- Changed flag and saving (Saving.cpp) ----
    bool prpAlteracoes() const { return changed_; }
    void setPrpAlteracoes(bool changed);
    // Saves tab `index`; true when the save reached its normal end.
    bool GravarCampos(qint32& index);
    // Asks whether to save pending changes: 6 Yes (saved), 7 No, 2 Cancel;
    // 0 when hidden or unchanged. `frame` 0: the selected tab.
    qint32 AskForSavings(qint32 frame = 0);

    // ---- New contact (NewContact.cpp) ----
    // The opening call (ReturnWithValue false) shows the kind chooser owned
    // by frmP and answers false; the chooser's call-back (true, with itself)
    // empties the card for a new contact of the chosen kind and answers true.
    bool Novo(QWidget* frmP, bool ReturnWithValue, frmNovo* ReturnFromObj);
    void mnNovo_Click();

    // ---- Events of tab 2 (Events.cpp) ----
    // Refills the events list for Contacto_ID; the event numbered ID is selected.
    void Fill_Eventos(qint32& ID);
    void ListView2_ItemCheck(QTreeWidgetItem* item);
    QTreeWidget* eventsList() const { return ListView2; }

    // ---- Tabs (TabChange.cpp) and navigation (Navigation.cpp) ----
    int selectedTab() const; // 1 to 4
    void selectTab(int index);
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

    // ---- Commands (Commands.cpp), each reporting under its own name ----
    void Toolbar1_ButtonClick(const QString& key);
    void mnFicheiro_Click();
    void mnTransferir_Click();
    // The transfer between active and inactive files: no work here, false.
    bool TransferirDados(const QString& Source, const QString& Dest, bool DeleteRecords,
                         const QString& StartField);
    void Descrit2_Click();
    void Timer1_Timer();
    // The file the card works in; "Inactivos" names the inactive files.
    QString currentFile_;

    // ---- Deleting and file membership (Deletion.cpp) ----
    void mnRemover_Click();
    // Removes the contact as the user chooses (or `Response`: 6 everywhere,
    // 7 from this file only, 2 cancel; 0 asks). True when the card should
    // consider it removed.
    bool Apagar_Contacto(qint32& contactoId, bool& FicInactivos, qint32 Response = 0);

    // ---- Conversion between individual and institution (Conversion.cpp) ----
    void mnConverterInstitucional_Click();
    void mnConverterSingular_Click();

    // ---- Related contacts opened in a sibling product (RelatedContacts.cpp) ----
    void ucIDRelacionados1_RequestOpen(qint32& id);

    // ---- The prints window (Prints.cpp) ----
    void showPrints();

    // ---- Layout (Resizing.cpp, WindowPosition.cpp) ----
    // Where a card goes on a screen of that size (twips) when it does not
    // use its stored position: left, top, width, height.
    static QRect screenPlacement(int screenWidth, int screenHeight);
    void Resize_Frame(int tab, int widthChange, int heightChange);
    int tabWidthEntry(int tab) const { return tabWidths_[tab]; }
    int tabHeightEntry(int tab) const { return tabHeights_[tab]; }

    bool isSingular() const { return singular_; }
    bool isLoaded() const { return loaded_; }

    // ---- The panels and controls, for the host path and for tests ----
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
    void followWindowSize();
    void keepDesignLayout();
    void layOutFromDesign();

  private:
    // Frames.cpp: one function a frame.
    void buildFrames();
    void buildHeader();
    void buildIdentificationFrame(int frameWidth, int frameHeight);
    void buildOtherInformationFrame(int frameWidth, int frameHeight);
    void buildPermissionsFrame(int frameWidth, int frameHeight);
    void buildArchiveFrame(int frameWidth, int frameHeight);
    void buildCardButtons(int frameHeight);
    // Commands.cpp
    enum class Move { First, Previous, Next, Last };
    void buildMenus();
    void buildToolbar();
    void connectCommandButtons();
    void saveShownTab();
    void handle(const char* procedure, const std::function<void()>& work);
    void showManual();
    void exportVCard();
    void mailVCard();
    QString exportableName(const QString& title);
    bool writeShownCard(const QString& title, const QString& path, const QString& failed);
    // frmInicial.cpp
    void connectPanels();
    QList<IdentityPanel*> allPanels() const;
    void orderKeyboardFocus();
    void setToolbarEnabled(bool enabled);
    void showTitle(const QString& title);
    void reportError(const QString& procedure, const vb::Error& e) const;
    QString caption() const;
    // Loading.cpp
    void preparePanels();
    void loadIdentification();
    void loadOtherInformation();
    void loadPermissions();
    void loadArchive();
    // The panels a tab loads; those of a tab whose load failed are marked unread.
    QList<IdentityPanel*> tabPanels(int tab) const;
    void markTabUnread(int tab);
    void loadInTurn(const QList<IdentityPanel*>& panels);
    void loadPanel(IdentityPanel* panel);
    // The panels (and, on tab 2, the events) a save of `tab` writes all hold
    // what was read; otherwise the user is told, offered to read the tab
    // again, and false comes back.
    bool tabHoldsWhatIsStored(int tab);
    // After a stored operation the card read the contact again: when that
    // read failed, the user is told that `done` is stored all the same.
    void tellIfNotShown(const QString& done);
    // An operation that did not happen says so, and why.
    void tellNotDone(const QString& what, const vb::Error& why);
    // WindowPosition.cpp
    bool restoreWindow();
    void placeByScreen();
    // TabChange.cpp
    void TabStrip1_Click();
    void catchUp(int oldTab, int newTab);
    QList<IdentityPanel*> identificationPanels() const;
    // Events.cpp
    static QString eventKey(const QTreeWidgetItem* item);
    QTreeWidgetItem* eventItem(const QString& key) const;
    void showEventLook(QTreeWidgetItem* item);
    void showEventsUnread();
    // Deletion.cpp, Conversion.cpp
    int askHowToDelete(const QString& list, int count, const QString& firstFile);
    void deleteEverywhereOf(qint32 contactoId);
    bool conversionMayStart(const QString& question, const char* procedure);
    void showConverted(bool singular);
    // Descriptions.cpp
    void showAuditLine();
    void captionFromTitle();
    // NewContact.cpp
    void startNewContact(bool singular);
    void showIdentificationTab();
    // Navigation.cpp
    void navigate(Move move, const char* procedure);
    bool moveCursor(Move move);
    // Closing.cpp
    void Form_Unload();
    // Saving.cpp
    bool saveFailed(const vb::Error& error);
    void saveSucceeded();
    // A refusal of rights, or the server's silence told as such; false.
    bool refuseRight(const QString& refusal, bool couldNotAsk);
    // The right `action` on the shown contact; its refusal is shown.
    bool hasRight(qint32 action, const QString& refusal);
    // SaveIdentification.cpp
    bool saveIdentification();
    // Every panel of the save accepts what was typed; else its message is shown.
    bool typedValuesAccepted();
    // A NIF that is no valid Portuguese one is kept only when the user says so.
    bool taxNumberAccepted();
    bool duplicateTaxNumber();
    // A new contact like a stored one (the same e-mail, telephone or name):
    // the user saves it anyway, opens the stored one instead, or goes on
    // editing. True when the save goes on.
    bool likenessAccepted();
    bool overwriteConfirmed();
    void readStoredStamp(qint32 id, vb::Variant& by, vb::Variant& when);
    QList<IdentityPanel*> subPanels() const;
    void fileNewContact(qint32 id);
    void saveSubPanels(QString& user);
    void forgetNewNumber(IdentityPanel* identity, qint32 before);
    void afterIdentificationSaved();
    // SaveOtherInformation.cpp, SavePermissions.cpp
    bool saveOtherInformation();
    void rewriteEvents();
    bool savePermissions();

    // Hourglass and a disabled toolbar while an operation runs; both come
    // back on every way out.
    class Busy {
      public:
        explicit Busy(frmInicial& card);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

      private:
        frmInicial& card_;
    };

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
    bool eventsRead_ = false; // the events list holds the contact's stored ticks
    // Who changed the contact last, and when, as the card loaded it: a save
    // that finds others there asks before writing over them.
    vb::Variant loadedModifiedBy_;
    vb::Variant loadedModifiedDate_;
    qint32 auditOf_ = -1; // the contact the audit line was read for
    bool singular_ = true;
    bool loaded_ = false;
    CardLayout::WindowSizes sizes_;
    int tabWidths_[11] = {};
    QList<std::pair<QPointer<QWidget>, QRect>> designPlaces_;
    int tabHeights_[11] = {};
};
