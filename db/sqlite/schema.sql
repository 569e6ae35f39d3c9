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
    botol_ls_author VARCHAR(8)  CHECK(length(botol_ls_author) <= 8)
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
    variant_ls_author VARCHAR(8)  CHECK(length(variant_ls_author) <= 8)
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
    sales_status       SMALLINT DEFAULT 0
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
    user_author      VARCHAR(8)  CHECK(length(user_author) <= 8)
);
CREATE INDEX ix_user_name ON tvr_user(user_name);
