#pragma once

#include "core/Config.h"
#include "payments/Payment.h"
#include "sales/Pricing.h"
#include "sales/SalesStore.h"
#include "sales/Visit.h"

#include <QDate>
#include <QDialog>
#include <QList>

#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QModelIndex;
class QTableView;
class QTabWidget;
class PaymentPanel;
class RowSetModel;
class DayListModel;

// The till: records a customer's visit (one or more items of concentrate into a
// bottle, paid at once by cash or another method), corrects or deletes a
// recorded item (booking the difference of what the customer paid), and lists
// the sales of one day.
//
// The editor is in one of three states: New (a sale being entered, "Submit"),
// Correction (a recorded sale loaded, "Update") and Empty (a sale number that
// does not exist; nothing to save).
class frmTransaksi : public QDialog {
    Q_OBJECT
public:
    explicit frmTransaksi(QWidget* parent = nullptr);

    // Puts a customer number chosen in the customer search into txtNoCust, which
    // looks the customer up. Refused (false) while the customer box is locked.
    bool receiveCustomer(const QString& nomor);

    // Editor
    QFrame* fraEditor_e;
    QFrame* fraEditor_e1;
    QGroupBox* fraEditor;
    QFrame* fraEditor_id;
    QLineEdit* txtNoCust;
    QPushButton* cmdSearch;
    QLineEdit* txtNama;
    QLineEdit* txtAlamat;
    QLineEdit* txtNoTelp;
    QLineEdit* txtKode;
    QLabel* lblVariant_i;
    QLineEdit* txtMililiter;
    QLineEdit* txtTotalml;
    QComboBox* cmbBotol;
    QCheckBox* cekRefresh;
    QLabel* lblHarga_i;
    QLineEdit* txtDiscount;
    QLabel* lblTotalHarga_i;
    QLineEdit* txtIDTrans;
    QPushButton* cmdNew;
    QPushButton* cmdSubmit;
    QPushButton* cmdNota; // the customer's receipt; F9 does the same
    QPushButton* cmdQuit;
    // The window's status line: "Data telah disimpan." after a save.
    QLabel* lblStatus_i;

    // The day's list, and the visit being entered with its payment
    QTabWidget* tabDaftar;
    QTableView* dtGridVisit;
    PaymentPanel* fraBayar;
    QTableView* dtGridTrans;
    QList<QPushButton*> cmdNavigasi; // "<<", "<", ">", ">>"
    QLabel* lblPage_i;

protected:
    // Closing (Quit, Escape, the title bar) asks to save unsaved work.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    // Lookups, each on the typed text, and the repricing.
    void DoGetCustomer();
    void DoGetVariant();
    void DoGetBotol();
    void DoGetPrice();
    void showPrice(const SalePrice& price);

    bool InputIsChecked();
    void InputIsEnabled(const QString& tag, bool enabled);
    bool isRefill() const;
    bool isUpdateMode() const;
    SalesStore::Amounts amounts() const;

    void cmdNew_Click();
    bool cmdSubmit_Click();

    // The visit: Submit adds the item typed to it, a method's key pays it.
    bool addItemToVisit();
    void removeVisitItem(int row);
    void editVisitItem(int row);
    void showVisit();
    // Before a method is chosen: the item still being typed joins the visit.
    bool readyToPay();
    void payVisit(const Payment& payment);
    // The till's open shift, asking for the opening cash when there is none.
    bool ensureShift();
    // What the customer of a corrected or deleted item got back or paid more.
    void tellDifference(double difference, const PaymentMethod& method);
    PaymentMethod methodOfSale(qint64 id) const;
    void cekRefresh_Click();
    std::optional<qint64> DoSubmit(bool update);
    // Highlights the list row of sale `id`, or none when the list lacks it (0: none).
    void showInList(qint64 id);
    // True when the editor may be replaced: nothing unsaved, or the user chose
    // not to save it. Yes saves (and moves on), Cancel keeps it.
    bool mayReplaceEntry();

    // The receipt: of the sale in the editor, else of the last one saved here.
    void cmdNota_Click();
    void DoPrintNota(qint64 id);
    void DoPrintVisit(qint64 idVisit);
    void saleSaved(qint64 id);

    // The day's list and the loading of a sale.
    void DoFirstSetPage();
    void DoSetDNavigasi();
    void DoCDNavigasi(int index);
    void DoGetList();
    void DoGetTrans(const QString& id);
    // A number typed into txtIDTrans loads that sale, after asking to save
    // the correction in the editor.
    void txtIDTrans_Change(const QString& text);
    // Opens the customer search; a customer picked there leaves the cursor in
    // the first field it leaves open.
    void openSearch();
    void dtGridTrans_RowColChange(const QModelIndex& current, const QModelIndex& previous);
    void dtGridTrans_Delete();
    void refreshToToday();
    // After a write of this window: the list shows today again, and when it
    // showed today already only the rows written change (`added` saved sales,
    // `changed` a corrected one, `removed` a deleted one; 0 for none).
    void listAfterWrite(const QList<qint64>& added, qint64 changed, qint64 removed);
    void markDirty() { m_dirty = true; }

    DayListModel* m_model;
    RowSetModel* m_visitModel;
    Visit m_visit;
    QList<PaymentMethod> m_methods;
    QString m_till;
    qint64 m_idShift = 0;

    // The variant, bottle type and customer found for what is typed.
    int m_idVariant = 0;
    bool m_variantFound = false;
    double m_hargaVariant = 0, m_stockVariant = 0;
    int m_idBotol = 0;
    double m_hargaBotol = 0, m_stockBotol = 0;
    // The price was computed again since the sale was loaded.
    bool m_repriced = true;
    int m_idCust = 0; // 0: a new customer is created on saving

    SalePrice m_price;                     // as the two price labels show it
    std::optional<SalesStore::Sale> m_old; // the sale loaded for correction
    bool m_dirty = false;                  // the editor holds unsaved typing
    // Just saved: the Enter a cashier types to acknowledge "Data telah
    // disimpan." is taken by it instead of moving on from the empty number.
    bool m_savedNotice = false;
    QWidget* m_afterSearch = nullptr;      // where the picked customer leaves the cursor
    bool m_syncingList = false;            // the program itself moves the list's row
    qint64 m_listVersion = 0;              // counts rebuilds of the list
    qint64 m_lastSavedId = 0;              // the last sale saved in this window
    qint64 m_lastVisitId = 0;              // the last visit paid in this window
    struct Difference {
        double amount = 0;
        PaymentMethod method;
    } m_pendingDifference; // booked by the last correction
    Config::Values m_receipt;              // the receipt settings of cfg.cae

    QDate m_dateFirst, m_dateToday, m_dateShown, m_datePrev, m_dateNext;
};
