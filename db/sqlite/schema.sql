-- proTavoruh database, SQLite dialect.
-- Column order, declared types and widths are checked by the program at every
-- start; keep them exactly as they are. Text widths are enforced by CHECKs
-- because SQLite does not enforce VARCHAR(n) itself.

CREATE TABLE tvr_customer (
    idcust       INTEGER PRIMARY KEY AUTOINCREMENT,
    cust_nomor   VARCHAR(12)  CHECK(length(cust_nomor) <= 12),
    cust_nama    VARCHAR(25)  CHECK(length(cust_nama) <= 25),
    cust_alamat  VARCHAR(200) CHECK(length(cust_alamat) <= 200),
    cust_notelp  VARCHAR(15)  CHECK(length(cust_notelp) <= 15),
    cust_date    VARCHAR(10)  CHECK(length(cust_date) <= 10),
    cust_author  VARCHAR(8)   CHECK(length(cust_author) <= 8)
);
-- Keys typed by users (customer numbers, variant codes, bottle types) are
-- matched without regard to letter case: their lookups compare with
-- COLLATE NOCASE, which these indexes serve.
CREATE INDEX ix_customer_nomor ON tvr_customer(cust_nomor COLLATE NOCASE);
-- The customer register lists one first letter of the name (either case),
-- newest first, and under "." every name that does not begin with a letter
-- A to Z: this index gives those rows in order without a sort.
CREATE INDEX ix_customer_letter ON tvr_customer(
    CASE WHEN lower(substr(cust_nama, 1, 1)) BETWEEN 'a' AND 'z'
         THEN lower(substr(cust_nama, 1, 1)) ELSE '.' END,
    idcust);

CREATE TABLE tvr_dtbotol (
    idbotol         INTEGER PRIMARY KEY AUTOINCREMENT,
    botol_tipe      VARCHAR(12) CHECK(length(botol_tipe) <= 12),
    botol_harga     DOUBLE,
    botol_stock     DOUBLE DEFAULT 0,
    botol_date      VARCHAR(10) CHECK(length(botol_date) <= 10),
    botol_author    VARCHAR(8)  CHECK(length(botol_author) <= 8),
    botol_ls_stock  DOUBLE DEFAULT 0,
    botol_ls_date   VARCHAR(10) CHECK(length(botol_ls_date) <= 10),
    botol_ls_author VARCHAR(8)  CHECK(length(botol_ls_author) <= 8),
    botol_pokok     DOUBLE DEFAULT 0,
    botol_minimum   DOUBLE DEFAULT 0
);
CREATE INDEX ix_dtbotol_tipe ON tvr_dtbotol(botol_tipe COLLATE NOCASE);

CREATE TABLE tvr_dtvariant (
    idvariant         INTEGER PRIMARY KEY AUTOINCREMENT,
    variant_kode      VARCHAR(12) CHECK(length(variant_kode) <= 12),
    variant_nama      VARCHAR(20) CHECK(length(variant_nama) <= 20),
    variant_harga     DOUBLE,
    variant_stock     DOUBLE DEFAULT 0,
    variant_date      VARCHAR(10) CHECK(length(variant_date) <= 10),
    variant_author    VARCHAR(8)  CHECK(length(variant_author) <= 8),
    variant_ls_stock  DOUBLE DEFAULT 0,
    variant_ls_date   VARCHAR(10) CHECK(length(variant_ls_date) <= 10),
    variant_ls_author VARCHAR(8)  CHECK(length(variant_ls_author) <= 8),
    variant_pokok     DOUBLE DEFAULT 0,
    variant_minimum   DOUBLE DEFAULT 0
);
CREATE INDEX ix_dtvariant_kode ON tvr_dtvariant(variant_kode COLLATE NOCASE);

CREATE TABLE tvr_sales (
    idsales            INTEGER PRIMARY KEY AUTOINCREMENT,
    sales_idcust       INTEGER,
    sales_idvariant    INTEGER,
    sales_mililiter    DOUBLE,
    sales_totalml      DOUBLE,
    sales_idbotol      INTEGER,
    sales_hargavariant DOUBLE,
    sales_hargabotol   DOUBLE,
    sales_hargatotal   DOUBLE,
    sales_diskon       DOUBLE,
    sales_hargadiskon  DOUBLE,
    sales_date         VARCHAR(10) CHECK(length(sales_date) <= 10),
    sales_author       VARCHAR(8)  CHECK(length(sales_author) <= 8),
    sales_status       SMALLINT DEFAULT 0,
    sales_pokokvariant DOUBLE,
    sales_pokokbotol   DOUBLE,
    sales_pokok        DOUBLE
);
CREATE INDEX ix_sales_date ON tvr_sales(sales_date);
CREATE INDEX ix_sales_idcust ON tvr_sales(sales_idcust);
CREATE INDEX ix_sales_idvariant ON tvr_sales(sales_idvariant);
CREATE INDEX ix_sales_idbotol ON tvr_sales(sales_idbotol);

CREATE TABLE tvr_stock (
    idstock          INTEGER PRIMARY KEY AUTOINCREMENT,
    stock_name       VARCHAR(12)  CHECK(length(stock_name) <= 12),
    stock_idname     INTEGER,
    stock_awal       DOUBLE,
    stock_order      DOUBLE,
    stock_akhir      DOUBLE,
    stock_date       VARCHAR(10)  CHECK(length(stock_date) <= 10),
    stock_author     VARCHAR(8)   CHECK(length(stock_author) <= 8),
    stock_status     SMALLINT DEFAULT 0,
    stock_keterangan VARCHAR(100) CHECK(length(stock_keterangan) <= 100)
);
CREATE INDEX ix_stock_item ON tvr_stock(stock_name, stock_idname);

CREATE TABLE tvr_user (
    iduser           INTEGER PRIMARY KEY AUTOINCREMENT,
    user_name        VARCHAR(8)  CHECK(length(user_name) <= 8),
    user_password    VARCHAR(20) CHECK(length(user_password) <= 20),
    user_namalengkap VARCHAR(20) CHECK(length(user_namalengkap) <= 20),
    user_date        VARCHAR(10) CHECK(length(user_date) <= 10),
    user_author      VARCHAR(8)  CHECK(length(user_author) <= 8),
    user_peran       SMALLINT DEFAULT 0,
    user_hash        VARCHAR(128) CHECK(length(user_hash) <= 128)
);
CREATE INDEX ix_user_name ON tvr_user(user_name);

-- An account can be deleted only while no row names it as author: these find
-- such a row at once instead of reading every sale and ledger row.
CREATE INDEX ix_sales_author ON tvr_sales(sales_author);
CREATE INDEX ix_stock_author ON tvr_stock(stock_author);
-- The live ledger of one item, newest first: the stock windows count it and
-- read it page by page from either end straight off this index.
CREATE INDEX ix_stock_ledger ON tvr_stock(stock_name, stock_idname, stock_status, idstock);
-- The sales reports sum millilitres and prices over a range of days: with both
-- sums in the index they are answered from it alone, in date order.
CREATE INDEX ix_sales_report ON tvr_sales(sales_date, sales_mililiter, sales_hargadiskon);
-- The customer search lists the matches of a name by name then number (a
-- missing number as an empty one), and those of an address by address then id
-- (the rowid ends every index). Walking these indexes gives each page in order
-- without sorting the matches, tests the keyword on the index entries alone,
-- and starts a following page right after the last row of the one before.
CREATE INDEX ix_customer_nama ON tvr_customer(cust_nama, ifnull(cust_nomor, ''));
CREATE INDEX ix_customer_alamat ON tvr_customer(cust_alamat);
-- The search by number lists the matches in the number's own (binary) order;
-- ix_customer_nomor ignores letter case and cannot give that order.
CREATE INDEX ix_customer_nomor_urut ON tvr_customer(cust_nomor);

-- Trigrams of the customer number, name and address, so that the search
-- finds a rare part of one without reading every customer. The table reads
-- its text from tvr_customer; the triggers keep it in step with every insert,
-- change and deletion there. Its name sorts after the six tables. Inside a
-- trigger no ";" ends a line, so tools that split this script at line-ending
-- semicolons keep each trigger whole. The last statement fills the table from
-- the customers already there.
CREATE VIRTUAL TABLE tvr_zsearch USING fts5(
    cust_nomor, cust_nama, cust_alamat,
    content = 'tvr_customer', content_rowid = 'idcust', tokenize = 'trigram'
);
CREATE TRIGGER tr_customer_search_insert AFTER INSERT ON tvr_customer BEGIN
    INSERT INTO tvr_zsearch (rowid, cust_nomor, cust_nama, cust_alamat)
    VALUES (new.idcust, new.cust_nomor, new.cust_nama, new.cust_alamat); END;
CREATE TRIGGER tr_customer_search_delete AFTER DELETE ON tvr_customer BEGIN
    INSERT INTO tvr_zsearch (tvr_zsearch, rowid, cust_nomor, cust_nama, cust_alamat)
    VALUES ('delete', old.idcust, old.cust_nomor, old.cust_nama, old.cust_alamat); END;
CREATE TRIGGER tr_customer_search_update
AFTER UPDATE OF idcust, cust_nomor, cust_nama, cust_alamat ON tvr_customer BEGIN
    INSERT INTO tvr_zsearch (tvr_zsearch, rowid, cust_nomor, cust_nama, cust_alamat)
    VALUES ('delete', old.idcust, old.cust_nomor, old.cust_nama, old.cust_alamat)
    ; INSERT INTO tvr_zsearch (rowid, cust_nomor, cust_nama, cust_alamat)
    VALUES (new.idcust, new.cust_nomor, new.cust_nama, new.cust_alamat); END;
INSERT INTO tvr_zsearch (tvr_zsearch) VALUES ('rebuild');

-- A visit: one customer's items paid at once. Each item is a row of tvr_sales
-- as before; tvr_visitsales names the visit of each (a sale without a row there
-- is a visit of one item with an unknown payment, as all sales recorded before
-- visits were kept). visit_total adds up the items' sales_hargadiskon, to the
-- cent; visit_bayar is what the customer pays, in whole rupiah, and
-- visit_pembulatan the rounding between them.
-- tvr_payment holds the money of each visit: its payment (payment_jenis 0), and
-- for a later correction or deletion of one of its items (1, 2; payment_idsales
-- names it) the difference paid out (negative payment_jumlah) or taken in.
-- payment_jumlah is what went into or out of the drawer (payment_tunai 1) or an
-- account by payment_metode; for cash, payment_diterima was handed over and
-- payment_kembali given back.
-- tvr_shift: a till's shift from its opening cash (shift_modal) to its close,
-- when the cash expected in the drawer, the cash counted (by note and coin in
-- shift_pecahan) and their difference are kept; one open shift (shift_status 0)
-- per till (shift_kasir). Every visit, payment and cash move (tvr_kas: put in
-- positive, taken out negative, with its reason) belongs to the shift in which
-- it was recorded, whatever the date.
CREATE TABLE tvr_visit (
    idvisit          INTEGER PRIMARY KEY AUTOINCREMENT,
    visit_idcust     INTEGER,
    visit_idshift    INTEGER,
    visit_total      DOUBLE,
    visit_pembulatan DOUBLE,
    visit_bayar      DOUBLE,
    visit_date       VARCHAR(10) CHECK(length(visit_date) <= 10),
    visit_jam        VARCHAR(8)  CHECK(length(visit_jam) <= 8),
    visit_author     VARCHAR(8)  CHECK(length(visit_author) <= 8)
);
CREATE INDEX ix_visit_date ON tvr_visit(visit_date);
CREATE INDEX ix_visit_shift ON tvr_visit(visit_idshift);
CREATE TABLE tvr_visitsales (
    visitsales_idsales INTEGER PRIMARY KEY,
    visitsales_idvisit INTEGER
);
CREATE INDEX ix_visitsales_visit ON tvr_visitsales(visitsales_idvisit);
CREATE TABLE tvr_payment (
    idpayment        INTEGER PRIMARY KEY AUTOINCREMENT,
    payment_idvisit  INTEGER,
    payment_idsales  INTEGER,
    payment_idshift  INTEGER,
    payment_jenis    SMALLINT DEFAULT 0,
    payment_metode   VARCHAR(12) CHECK(length(payment_metode) <= 12),
    payment_tunai    SMALLINT DEFAULT 0,
    payment_jumlah   DOUBLE,
    payment_diterima DOUBLE,
    payment_kembali  DOUBLE,
    payment_date     VARCHAR(10) CHECK(length(payment_date) <= 10),
    payment_jam      VARCHAR(8)  CHECK(length(payment_jam) <= 8),
    payment_author   VARCHAR(8)  CHECK(length(payment_author) <= 8)
);
CREATE INDEX ix_payment_visit ON tvr_payment(payment_idvisit);
CREATE INDEX ix_payment_date ON tvr_payment(payment_date, payment_metode);
CREATE INDEX ix_payment_shift ON tvr_payment(payment_idshift, payment_metode);
CREATE TABLE tvr_shift (
    idshift            INTEGER PRIMARY KEY AUTOINCREMENT,
    shift_kasir        VARCHAR(20)  CHECK(length(shift_kasir) <= 20),
    shift_status       SMALLINT DEFAULT 0,
    shift_modal        DOUBLE,
    shift_buka         VARCHAR(19)  CHECK(length(shift_buka) <= 19),
    shift_buka_author  VARCHAR(8)   CHECK(length(shift_buka_author) <= 8),
    shift_tutup        VARCHAR(19)  CHECK(length(shift_tutup) <= 19),
    shift_tutup_author VARCHAR(8)   CHECK(length(shift_tutup_author) <= 8),
    shift_harap        DOUBLE,
    shift_hitung       DOUBLE,
    shift_selisih      DOUBLE,
    shift_pecahan      VARCHAR(200) CHECK(length(shift_pecahan) <= 200)
);
CREATE UNIQUE INDEX ix_shift_open ON tvr_shift(shift_kasir) WHERE shift_status = 0;
CREATE INDEX ix_shift_buka ON tvr_shift(shift_buka);
CREATE TABLE tvr_kas (
    idkas          INTEGER PRIMARY KEY AUTOINCREMENT,
    kas_idshift    INTEGER,
    kas_jumlah     DOUBLE,
    kas_keterangan VARCHAR(100) CHECK(length(kas_keterangan) <= 100),
    kas_date       VARCHAR(10)  CHECK(length(kas_date) <= 10),
    kas_jam        VARCHAR(8)   CHECK(length(kas_jam) <= 8),
    kas_author     VARCHAR(8)   CHECK(length(kas_author) <= 8)
);
CREATE INDEX ix_kas_shift ON tvr_kas(kas_idshift);

-- The trail: every change of a sale, payment, ledger, register or account, and
-- every login, failed or not, with who did it (and the owner who allowed it),
-- when, on which till, what it was before and after, and the reason typed for
-- a deletion or reset. Rows are only ever added: changing or deleting one is
-- refused by the database itself.
CREATE TABLE tvr_jejak (
    idjejak       INTEGER PRIMARY KEY AUTOINCREMENT,
    jejak_waktu   VARCHAR(19)   CHECK(length(jejak_waktu) <= 19),
    jejak_author  VARCHAR(8)    CHECK(length(jejak_author) <= 8),
    jejak_izin    VARCHAR(8)    CHECK(length(jejak_izin) <= 8),
    jejak_kasir   VARCHAR(20)   CHECK(length(jejak_kasir) <= 20),
    jejak_jenis   VARCHAR(20)   CHECK(length(jejak_jenis) <= 20),
    jejak_objek   VARCHAR(60)   CHECK(length(jejak_objek) <= 60),
    jejak_sebelum VARCHAR(1000) CHECK(length(jejak_sebelum) <= 1000),
    jejak_sesudah VARCHAR(1000) CHECK(length(jejak_sesudah) <= 1000),
    jejak_alasan  VARCHAR(100)  CHECK(length(jejak_alasan) <= 100)
);
CREATE INDEX ix_jejak_waktu ON tvr_jejak(jejak_waktu);
CREATE INDEX ix_jejak_author ON tvr_jejak(jejak_author, jejak_waktu);
CREATE INDEX ix_jejak_jenis ON tvr_jejak(jejak_jenis, jejak_waktu);
CREATE TRIGGER tr_jejak_update BEFORE UPDATE ON tvr_jejak BEGIN
    SELECT RAISE(ABORT, 'Jejak perubahan tidak dapat diubah'); END;
CREATE TRIGGER tr_jejak_delete BEFORE DELETE ON tvr_jejak BEGIN
    SELECT RAISE(ABORT, 'Jejak perubahan tidak dapat dihapus'); END;

-- Totals of tvr_sales kept in step with every insert, change and deletion of a
-- sale, so that reports and the owner's figures of a month or a year read a
-- few rows instead of every sale. ringkasan_jenis: 0 all sales, 1 per variant,
-- 2 per bottle type (ringkasan_kunci the id), 3 per cashier (ringkasan_author),
-- 4 per customer; ringkasan_satuan: 0 a day (ringkasan_periode yyyy-MM-dd),
-- 1 a month (yyyy-MM), 2 a year (yyyy); customers are kept by month and year
-- only. ringkasan_harga adds up sales_hargatotal, ringkasan_total
-- sales_hargadiskon, ringkasan_pokok sales_pokok (the cost at the time of sale).
CREATE TABLE tvr_ringkasan (
    ringkasan_jenis   SMALLINT,
    ringkasan_satuan  SMALLINT,
    ringkasan_periode VARCHAR(10),
    ringkasan_kunci   INTEGER,
    ringkasan_author  VARCHAR(8),
    ringkasan_jumlah  INTEGER,
    ringkasan_ml      DOUBLE,
    ringkasan_harga   DOUBLE,
    ringkasan_total   DOUBLE,
    ringkasan_pokok   DOUBLE,
    PRIMARY KEY (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
                 ringkasan_author)
) WITHOUT ROWID;
-- The customers' totals of a period in takings order: the largest customers
-- are the first rows of it.
CREATE INDEX ix_ringkasan_urut ON tvr_ringkasan (ringkasan_satuan, ringkasan_periode,
    ringkasan_total DESC, ringkasan_kunci) WHERE ringkasan_jenis = 4;
CREATE TRIGGER tr_sales_summary_insert AFTER INSERT ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, 1, coalesce(new.sales_mililiter, 0),
        coalesce(new.sales_hargatotal, 0), coalesce(new.sales_hargadiskon, 0),
        coalesce(new.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(new.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(new.sales_date, ''), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END;
CREATE TRIGGER tr_sales_summary_delete AFTER DELETE ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, -1, -coalesce(old.sales_mililiter, 0),
        -coalesce(old.sales_hargatotal, 0), -coalesce(old.sales_hargadiskon, 0),
        -coalesce(old.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(old.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(old.sales_date, ''), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END;
CREATE TRIGGER tr_sales_summary_update
AFTER UPDATE OF sales_idcust, sales_idvariant, sales_idbotol, sales_mililiter, sales_hargatotal,
    sales_hargadiskon, sales_date, sales_author, sales_pokok ON tvr_sales BEGIN
    INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, -1, -coalesce(old.sales_mililiter, 0),
        -coalesce(old.sales_hargatotal, 0), -coalesce(old.sales_hargadiskon, 0),
        -coalesce(old.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(old.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(old.sales_date, ''), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(old.sales_date, ''), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(old.sales_date, ''), 1, 7), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(old.sales_date, ''), 1, 4), 0, coalesce(old.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(old.sales_date, ''), 1, 7), coalesce(old.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(old.sales_date, ''), 1, 4), coalesce(old.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok
    ; INSERT INTO tvr_ringkasan (ringkasan_jenis, ringkasan_satuan, ringkasan_periode,
        ringkasan_kunci, ringkasan_author, ringkasan_jumlah, ringkasan_ml,
        ringkasan_harga, ringkasan_total, ringkasan_pokok)
    SELECT j, s, p, k, a, 1, coalesce(new.sales_mililiter, 0),
        coalesce(new.sales_hargatotal, 0), coalesce(new.sales_hargadiskon, 0),
        coalesce(new.sales_pokok, 0)
    FROM (
        SELECT 0 AS j, 0 AS s, coalesce(new.sales_date, '') AS p, 0 AS k, '' AS a
        UNION ALL SELECT 0, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, ''
        UNION ALL SELECT 0, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, ''
        UNION ALL SELECT 1, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 1, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idvariant, 0), ''
        UNION ALL SELECT 2, 0, coalesce(new.sales_date, ''), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 2, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idbotol, 0), ''
        UNION ALL SELECT 3, 0, coalesce(new.sales_date, ''), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 1, substr(coalesce(new.sales_date, ''), 1, 7), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 3, 2, substr(coalesce(new.sales_date, ''), 1, 4), 0, coalesce(new.sales_author, '')
        UNION ALL SELECT 4, 1, substr(coalesce(new.sales_date, ''), 1, 7), coalesce(new.sales_idcust, 0), ''
        UNION ALL SELECT 4, 2, substr(coalesce(new.sales_date, ''), 1, 4), coalesce(new.sales_idcust, 0), ''
    ) AS x WHERE true
    ON CONFLICT (ringkasan_jenis, ringkasan_satuan, ringkasan_periode, ringkasan_kunci,
        ringkasan_author) DO UPDATE SET
        ringkasan_jumlah = tvr_ringkasan.ringkasan_jumlah + excluded.ringkasan_jumlah,
        ringkasan_ml = tvr_ringkasan.ringkasan_ml + excluded.ringkasan_ml,
        ringkasan_harga = tvr_ringkasan.ringkasan_harga + excluded.ringkasan_harga,
        ringkasan_total = tvr_ringkasan.ringkasan_total + excluded.ringkasan_total,
        ringkasan_pokok = tvr_ringkasan.ringkasan_pokok + excluded.ringkasan_pokok; END;

-- The schema version of this database: one row for each version it has had,
-- the highest is the one it is at. This script makes the newest directly; the
-- program upgrades a database of an older version at start-up, step by step,
-- and refuses one of a newer version. The name sorts after the six tables.
CREATE TABLE tvr_version (
    version_nomor      INTEGER PRIMARY KEY,
    version_date       VARCHAR(10)  CHECK(length(version_date) <= 10),
    version_keterangan VARCHAR(100) CHECK(length(version_keterangan) <= 100)
);
INSERT INTO tvr_version (version_nomor, version_date, version_keterangan)
VALUES (7, date('now', 'localtime'), 'Dibuat dari skrip skema');
