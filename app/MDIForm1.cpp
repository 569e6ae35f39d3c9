#include "MDIForm1.h"

#include "analysis/LowStock.h"
#include "analysis/SheetWindow.h"
#include "analysis/frmAnalisa.h"
#include "core/Backup.h"
#include "core/Connection.h"
#include "core/Db.h"
#include "core/Globals.h"
#include "core/Regional.h"
#include "core/Rights.h"
#include "core/Trail.h"
#include "masterdata/frmDBBotol.h"
#include "payments/ShiftReport.h"
#include "payments/frmKas.h"
#include "payments/frmShiftBuka.h"
#include "payments/frmShiftList.h"
#include "payments/frmShiftTutup.h"
#include "masterdata/frmDBCustomer.h"
#include "masterdata/frmDBVariant.h"
#include "reports/frmSales.h"
#include "sales/Receipt.h"
#include "sales/ReceiptPrinter.h"
#include "sales/frmSearch.h"
#include "sales/frmTransaksi.h"
#include "stock/frmStockB.h"
#include "stock/frmStockC.h"
#include "ui/FileDialogs.h"
#include "ui/Module1.h"
#include "ui/Prompt.h"
#include "ui/Reason.h"
#include "ui/frmAbout.h"
#include "users/frmIzinPemilik.h"
#include "users/frmJejak.h"
#include "users/frmSystemChangePass.h"
#include "users/frmSystemLogin.h"
#include "users/frmSystemManager.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QPdfWriter>
#include <QSaveFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// The client area below the toolbar: the shop's picture over the back colour.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget* parent) : QWidget(parent), m_picture(QStringLiteral(":/background.jpg"))
    {
        setObjectName(QStringLiteral("Backdrop"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(243, 178, 108));
        if (m_picture.isNull())
            return;
        // Fill the area, keeping the picture's proportions, centred.
        const QSize scaled = m_picture.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2),
                           scaled);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(target, m_picture);
    }

private:
    QPixmap m_picture;
};

QAction* addItem(QMenu* menu, QList<QAction*>& array, const QString& arrayName, const QString& text)
{
    QAction* a = text == QLatin1String("-") ? menu->addSeparator() : menu->addAction(text);
    a->setObjectName(QStringLiteral("%1_%2").arg(arrayName).arg(array.size()));
    array << a;
    return a;
}

} // namespace

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Tavoru Aromatic"));
    setWindowIcon(QApplication::windowIcon());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(243, 178, 108));
    setPalette(pal);
    setCentralWidget(new Backdrop(this));
    buildMenus();
    buildToolbar();
    resize(960, 680);
}

MDIForm1::~MDIForm1() = default;

QString MDIForm1::plainCaption(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&x" shows x underlined, "&&" shows one "&"
        plain += text.at(i);
    }
    return plain;
}

void MDIForm1::buildMenus()
{
    struct Top {
        QString text;
        QList<QAction*>* array;
        QString arrayName;
        QStringList items;
    };
    const QList<Top> tops = {
        {QStringLiteral("&File"), &mnFile, QStringLiteral("mnFile"),
         {QStringLiteral("&Login"), QStringLiteral("-"), QStringLiteral("&Change Password"),
          QStringLiteral("&User Management"), QStringLiteral("&Jejak Perubahan"),
          QStringLiteral("-"), QStringLiteral("&Quit")}},
        {QStringLiteral("&Menu"), &mnMenu, QStringLiteral("mnMenu"),
         {QStringLiteral("&Transaction"), QStringLiteral("&Search"), QStringLiteral("St&ock"),
          QStringLiteral("S&ales"), QStringLiteral("&Database")}},
        {QStringLiteral("&Kas"), &mnKas, QStringLiteral("mnKas"),
         {QStringLiteral("&Buka Shift"), QStringLiteral("&Kas Masuk/Keluar"),
          QStringLiteral("&Tutup Shift"), QStringLiteral("-"), QStringLiteral("&Daftar Shift"),
          QStringLiteral("-"), QStringLiteral("Buka &Laci"), QStringLiteral("Cetak halaman &uji")}},
        {QStringLiteral("&Analisa"), &mnAnalisa, QStringLiteral("mnAnalisa"),
         {QStringLiteral("&Analisa Penjualan"), QStringLiteral("Daftar &Pesan Ulang"),
          QStringLiteral("&Nilai Stok")}},
        {QStringLiteral("&Help"), &mnHelp, QStringLiteral("mnHelp"), {QStringLiteral("&About")}},
    };

    for (const Top& top : tops) {
        QMenu* menu = menuBar()->addMenu(top.text);
        menu->setObjectName(QStringLiteral("mnUtama_%1").arg(mnUtama.size()));
        mnUtama << menu;
        for (const QString& item : top.items) {
            QAction* a = addItem(menu, *top.array, top.arrayName, item);
            const QString parentCaption = plainCaption(top.text);
            const QString caption = plainCaption(item);
            if (caption == QLatin1String("Stock") || caption == QLatin1String("Database"))
                continue; // these carry submenus
            if (!a->isSeparator())
                connect(a, &QAction::triggered, this,
                        [this, parentCaption, caption] { runCommand(parentCaption, caption); });
        }
    }

    // The two submenus of Menu.
    mnStockMenu = new QMenu(this);
    mnStockMenu->setObjectName(QStringLiteral("mnStock"));
    for (const QString& item : {QStringLiteral("&Concentrate"), QStringLiteral("&Botol")})
        addItem(mnStockMenu, mnStock, QStringLiteral("mnStock"), item);
    mnDBMenu = new QMenu(this);
    mnDBMenu->setObjectName(QStringLiteral("mnDB"));
    for (const QString& item :
         {QStringLiteral("&Customer"), QStringLiteral("&Variant"), QStringLiteral("&Botol")})
        addItem(mnDBMenu, mnDB, QStringLiteral("mnDB"), item);
    mnMenu.at(2)->setMenu(mnStockMenu);
    mnMenu.at(4)->setMenu(mnDBMenu);
    for (QAction* a : mnStock)
        connect(a, &QAction::triggered, this,
                [this, a] { runCommand(QStringLiteral("Stock"), plainCaption(a->text())); });
    for (QAction* a : mnDB)
        connect(a, &QAction::triggered, this,
                [this, a] { runCommand(QStringLiteral("Database"), plainCaption(a->text())); });
}

void MDIForm1::buildToolbar()
{
    Toolbar1 = new QToolBar(QStringLiteral("Toolbar1"), this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(64, 64));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    struct Button {
        QString caption;
        int picture;
        bool dropDown;
    };
    const QList<Button> buttons = {
        {QStringLiteral("Kasir"), 6, false},    {QStringLiteral("Search"), 5, false},
        {QStringLiteral("Stock"), 1, true},     {QStringLiteral("Sales"), 7, false},
        {QStringLiteral("Database"), 4, true},  {QStringLiteral("Quit"), 3, false},
    };
    for (const Button& b : buttons) {
        auto* tb = new QToolButton(Toolbar1);
        tb->setObjectName(QStringLiteral("Toolbar1_%1").arg(b.caption));
        tb->setText(b.caption);
        tb->setIcon(QIcon(QStringLiteral(":/toolbar/%1.png").arg(b.picture)));
        tb->setIconSize(QSize(64, 64));
        tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tb->setAutoRaise(true);
        tb->setMinimumWidth(84);
        if (b.dropDown) {
            tb->setMenu(new QMenu(tb));
            tb->setPopupMode(QToolButton::InstantPopup);
        } else {
            const QString caption = b.caption;
            connect(tb, &QToolButton::clicked, this, [this, caption] { runCommand({}, caption); });
        }
        Toolbar1->addWidget(tb);
        toolbarButtons << tb;
    }
}

void MDIForm1::DoPaintToolbar()
{
    Toolbar1->setStyleSheet(QStringLiteral("QToolBar#Toolbar1 { padding: 2px; }"
                                           "QToolBar#Toolbar1 QToolButton { color: #3b2412;"
                                           " font-weight: bold; padding: 2px 6px; }"));
    DoSetTiledBackground(Toolbar1, QStringLiteral(":/toolbar_pattern.png"));
    Toolbar1->setMinimumHeight(86);
}

void MDIForm1::fillDropDown(QToolButton* button, const QList<QAction*>& items)
{
    QMenu* menu = button->menu();
    menu->clear();
    const QString parentCaption = button->text();
    for (QAction* item : items) {
        QAction* entry = menu->addAction(item->text());
        entry->setObjectName(QStringLiteral("%1_%2").arg(button->objectName(), item->objectName()));
        connect(entry, &QAction::triggered, this, [this, parentCaption, entry] {
            runCommand(parentCaption, plainCaption(entry->text()));
        });
    }
}

bool MDIForm1::startUp(const QLocale& userLocale, const QString& appDir)
{
    if (!Regional::isIndonesian(userLocale)) {
        Prompt::message(
            QStringLiteral("Program ini hanya bisa dijalankan dengan format regional Indonesia!"),
            QStringLiteral("ERROR SYSTEM"), Prompt::Icon::Critical);
        return false;
    }
    DoPaintToolbar();
    RefillBottleType = QStringLiteral("REFILL");
    const StartupResult connected = DoConnect(appDir);
    if (!connected) {
        Prompt::message(connected.text, connected.title, Prompt::Icon::Critical);
        return false;
    }
    fillDropDown(toolbarButtons.at(2), mnStock);
    fillDropDown(toolbarButtons.at(4), mnDB);

    // Trail rows name this till; a cashier's forbidden action asks the owner at the till.
    Trail::setTillName(Config::tillName(ReceiptPrinter::settings()));
    Rights::setOwnerCheck(&frmIzinPemilik::ask);
    StartupDone = false;
    const bool loggedIn = showLogin();
    StartupDone = true;
    // The program never goes on without a logged-in user.
    if (!loggedIn || LoginUserName.isEmpty())
        return false;
    // How many items are below their minimum, in the status bar: told after the
    // login and after every save that changes the count, never in a box.
    lblStokMinimum = new QLabel(this);
    lblStokMinimum->setObjectName(QStringLiteral("lblStokMinimum"));
    statusBar()->addPermanentWidget(lblStokMinimum);
    connect(LowStock::watch(), &LowStock::Watch::changed, lblStokMinimum,
            [this](const LowStock::Counts& counts) {
                lblStokMinimum->setText(LowStock::statusText(counts));
            });
    LowStock::recount();
    // The day's copy of the database is made in the background; a failure is told once.
    Backup::startDaily(this, appDir, [](const QString& text) {
        Prompt::message(text, Backup::MessageTitle, Prompt::Icon::Exclamation);
    });
    return true;
}

bool MDIForm1::showLogin()
{
    frmSystemLogin login(this);
    const bool accepted = login.exec() == QDialog::Accepted;
    applyRights();
    return accepted;
}

void MDIForm1::applyRights()
{
    // What a cashier may not open is greyed; reached another way it is refused.
    const bool manage = Rights::may(Rights::Action::ManageUsers);
    const bool trail = Rights::may(Rights::Action::SeeTrail);
    const bool shifts = Rights::may(Rights::Action::ManageShifts);
    for (QAction* a : mnFile) {
        const QString c = plainCaption(a->text());
        if (c == QLatin1String("User Management"))
            a->setEnabled(manage);
        else if (c == QLatin1String("Jejak Perubahan"))
            a->setEnabled(trail);
    }
    for (QAction* a : mnKas)
        if (plainCaption(a->text()) == QLatin1String("Daftar Shift"))
            a->setEnabled(shifts);
    const bool figures = Rights::may(Rights::Action::SeeAnalysis);
    const bool cost = Rights::may(Rights::Action::SeeCost);
    for (QAction* a : mnAnalisa)
        a->setEnabled(plainCaption(a->text()) == QLatin1String("Nilai Stok") ? cost : figures);
}

bool MDIForm1::permitted(const Rights::Permit& permit)
{
    return Reason::allowed(permit, QStringLiteral("Hak Akses"));
}

template <typename W> void MDIForm1::showModal()
{
    guardDb([this] {
        auto window = std::make_unique<W>(this);
        window->exec();
    });
    // The stock windows and registers move stock and minimums too.
    LowStock::saved();
}

void MDIForm1::runCommand(const QString& parentCaption, const QString& caption)
{
    const QString& p = parentCaption;
    const QString& c = caption;
    if (c == QLatin1String("Quit") && (p.isEmpty() || p == QLatin1String("File"))) {
        emit quitRequested();
        return;
    }
    if (p == QLatin1String("File") && c == QLatin1String("Login")) {
        showLogin();
        LowStock::recount();
        return;
    }
    if (p == QLatin1String("File") && c == QLatin1String("Change Password")) {
        showModal<frmSystemChangePass>();
        return;
    }
    if (p == QLatin1String("File") && c == QLatin1String("User Management")) {
        const Rights::Permit permit(Rights::Action::ManageUsers);
        if (permitted(permit))
            showModal<frmSystemManager>();
        return;
    }
    if (p == QLatin1String("File") && c == QLatin1String("Jejak Perubahan")) {
        const Rights::Permit permit(Rights::Action::SeeTrail);
        if (permitted(permit))
            showModal<frmJejak>();
        return;
    }
    if ((p == QLatin1String("Menu") && c == QLatin1String("Transaction")) ||
        (p.isEmpty() && c == QLatin1String("Kasir"))) {
        showModal<frmTransaksi>();
        return;
    }
    if ((p == QLatin1String("Menu") || p.isEmpty()) && c == QLatin1String("Search")) {
        showModal<frmSearch>();
        return;
    }
    if (p == QLatin1String("Help") && c == QLatin1String("About")) {
        showModal<frmAbout>();
        return;
    }
    if (p == QLatin1String("Database")) {
        if (c == QLatin1String("Customer"))
            showModal<frmDBCustomer>();
        else if (c == QLatin1String("Variant"))
            showModal<frmDBVariant>();
        else if (c == QLatin1String("Botol"))
            showModal<frmDBBotol>();
        return;
    }
    if (p == QLatin1String("Stock")) {
        if (c == QLatin1String("Concentrate"))
            showModal<frmStockC>();
        else if (c == QLatin1String("Botol"))
            showModal<frmStockB>();
        return;
    }
    if ((p == QLatin1String("Menu") || p.isEmpty()) && c == QLatin1String("Sales")) {
        showModal<frmSales>();
        return;
    }
    if (p == QLatin1String("Analisa")) {
        // The figures are the owner's; costs and the stock's value even more so.
        const Rights::Action needed = c == QLatin1String("Nilai Stok")
                                          ? Rights::Action::SeeCost
                                          : Rights::Action::SeeAnalysis;
        if (!Rights::may(needed)) {
            Prompt::message(Rights::refusal(needed), c, Prompt::Icon::Exclamation);
            return;
        }
        if (c == QLatin1String("Analisa Penjualan"))
            showModal<frmAnalisa>();
        else if (c == QLatin1String("Daftar Pesan Ulang"))
            showModal<frmPesanUlang>();
        else if (c == QLatin1String("Nilai Stok"))
            showModal<frmNilaiStok>();
        return;
    }
    if (p == QLatin1String("Kas"))
        runKasCommand(c);
}

void MDIForm1::runKasCommand(const QString& c)
{
    const Config::Values settings = ReceiptPrinter::settings();
    if (c == QLatin1String("Cetak halaman uji")) {
        if (const auto failed = ReceiptPrinter::printTestPage(settings))
            Prompt::message(QStringLiteral("Halaman uji tidak dapat dicetak ke %1: %2.")
                                .arg(failed->target, failed->reason),
                            QStringLiteral("Printer Error"), Prompt::Icon::Exclamation);
        return;
    }
    const QString till = Config::tillName(settings);
    std::optional<ShiftStore::Shift> open;
    if (!guardDb([&] { open = ShiftStore::openShift(till); }))
        return;
    if (c == QLatin1String("Buka Laci")) {
        // The drawer holds the shift's cash: it opens only while that shift runs.
        if (!open)
            Prompt::message(QStringLiteral("Laci kas hanya dapat dibuka selama shift kasir %1 "
                                           "terbuka. Buka shift dahulu (Kas > Buka Shift).")
                                .arg(till),
                            QStringLiteral("Buka Laci"), Prompt::Icon::Information);
        else if (!ReceiptPrinter::hasDrawer(settings))
            Prompt::message(QStringLiteral("Laci kas belum diatur: tulis \"laci=:2\" atau "
                                           "\"laci=:5\" dan printer nota ESC/POS "
                                           "(\"notaprinter=:escpos:...\") di cfg.cae."),
                            QStringLiteral("Buka Laci"), Prompt::Icon::Information);
        else if (const auto failed = ReceiptPrinter::openDrawer(settings))
            Prompt::message(QStringLiteral("Laci kas tidak dapat dibuka lewat %1: %2.")
                                .arg(failed->target, failed->reason),
                            QStringLiteral("Buka Laci"), Prompt::Icon::Exclamation);
        return;
    }
    if (c == QLatin1String("Daftar Shift")) {
        const Rights::Permit permit(Rights::Action::ManageShifts);
        if (!permitted(permit))
            return;
        frmShiftList list(this);
        connect(&list, &frmShiftList::shiftChosen, this, &MDIForm1::showShift);
        list.exec();
        return;
    }
    if (c == QLatin1String("Buka Shift") && open) {
        Prompt::message(QStringLiteral("Shift kasir %1 sudah terbuka sejak %2 (%3).")
                            .arg(till, open->openedAt, open->openedBy),
                        QStringLiteral("Buka Shift"), Prompt::Icon::Information);
        return;
    }
    if (c == QLatin1String("Tutup Shift")) {
        if (!open)
            Prompt::message(QStringLiteral("Belum ada shift yang terbuka di kasir %1.").arg(till),
                            QStringLiteral("Tutup Shift"), Prompt::Icon::Information);
        else
            showShift(open->id);
        return;
    }
    // Cash moves need an open shift: the till asks for one first.
    qint64 id = open ? open->id : 0;
    if (!open) {
        frmShiftBuka opening(till, this);
        if (opening.exec() != QDialog::Accepted)
            return;
        id = opening.openedShift();
    }
    if (c == QLatin1String("Kas Masuk/Keluar")) {
        frmKas kas(id, this);
        kas.exec();
    }
}

void MDIForm1::showShift(qint64 idShift)
{
    guardDb([&] {
        frmShiftTutup w(idShift, this);
        connect(&w, &frmShiftTutup::printRequested, this, [this](const ShiftStore::Summary& s) {
            const Config::Values settings = ReceiptPrinter::settings();
            const QStringList lines =
                ShiftReport::lines(s, settings.shopName,
                                   Receipt::columnsFor(settings.receiptPaperMm),
                                   QDateTime::currentDateTime());
            if (const auto failed = ReceiptPrinter::print(
                    lines, settings, QStringLiteral("tutup-kasir-%1").arg(s.shift.id)))
                Prompt::message(QStringLiteral("Laporan tutup kasir tidak dapat dicetak ke %1: %2. "
                                               "Shift tetap tersimpan.")
                                    .arg(failed->target, failed->reason),
                                QStringLiteral("Printer Error"), Prompt::Icon::Exclamation);
        });
        connect(&w, &frmShiftTutup::pdfRequested, this, [this](const ShiftStore::Summary& s) {
            const Config::Values settings = ReceiptPrinter::settings();
            const QString path = FileDialogs::saveFileName(
                this, QStringLiteral("Simpan Laporan Tutup Kasir sebagai PDF"),
                QDir(FileDialogs::startFolder())
                    .filePath(QStringLiteral("tutup-kasir-%1.pdf").arg(s.shift.id)),
                QStringLiteral("PDF (*.pdf)"));
            if (path.isEmpty())
                return;
            FileDialogs::remember(path);
            const QStringList lines =
                ShiftReport::lines(s, settings.shopName,
                                   Receipt::columnsFor(settings.receiptPaperMm),
                                   QDateTime::currentDateTime());
            // Written whole or not at all: a failed write leaves no half file.
            QSaveFile file(path);
            bool written = file.open(QIODevice::WriteOnly);
            if (written) {
                QPdfWriter pdf(&file);
                pdf.setResolution(300);
                written = !ReceiptPrinter::paint(&pdf, lines, settings.receiptPaperMm);
            }
            if (!written || !file.commit())
                Prompt::message(QStringLiteral("Laporan tidak dapat disimpan ke %1: %2")
                                    .arg(path, file.errorString()),
                                QStringLiteral("Simpan PDF"), Prompt::Icon::Critical);
        });
        w.exec();
    });
}

void MDIForm1::closeEvent(QCloseEvent* event)
{
    Db::close();
    event->accept();
}
