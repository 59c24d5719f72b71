-- The suite's main database: users, groups, their rights, the module catalogue, the companies
-- (authors), the HR persons and the CRM brand roles. Text columns compare without regard to
-- case, as the suite's server collation does.

CREATE TABLE admUser (
    usID        INTEGER NOT NULL PRIMARY KEY,
    usCod       VARCHAR(50) COLLATE NOCASE,
    usDenumire  VARCHAR(100) COLLATE NOCASE,
    usDomeniu   VARCHAR(50) COLLATE NOCASE,
    usAlias     VARCHAR(50) COLLATE NOCASE,
    IdOperator  INTEGER,
    DataAct     DATETIME
);
CREATE INDEX IX_admUser_usCod ON admUser (usCod);

CREATE TABLE AdmGrup (
    grID        INTEGER NOT NULL PRIMARY KEY,
    grCod       VARCHAR(50) COLLATE NOCASE,
    grDenumire  VARCHAR(100) COLLATE NOCASE,
    grobs       VARCHAR(255) COLLATE NOCASE,
    IdOperator  INTEGER,
    DataAct     DATETIME
);
CREATE INDEX IX_AdmGrup_grCod ON AdmGrup (grCod);

CREATE TABLE admUserGrup (
    usID        INTEGER NOT NULL,
    grID        INTEGER NOT NULL,
    IdOperator  INTEGER,
    DataAct     DATE
);
CREATE INDEX IX_admUserGrup_usID ON admUserGrup (usID);
CREATE INDEX IX_admUserGrup_grID ON admUserGrup (grID);

CREATE TABLE admGrupAutor (
    auID        INTEGER NOT NULL,
    grID        INTEGER NOT NULL,
    IdOperator  INTEGER,
    DataAct     DATE
);
CREATE INDEX IX_admGrupAutor_grID ON admGrupAutor (grID, auID);

CREATE TABLE admGrupOperatii (
    auID        INTEGER NOT NULL,
    grID        INTEGER NOT NULL,
    opID        INTEGER NOT NULL,
    ID          INTEGER NOT NULL,
    IdOperator  INTEGER,
    DataAct     DATE
);
CREATE INDEX IX_admGrupOperatii_grID ON admGrupOperatii (grID, auID);
CREATE INDEX IX_admGrupOperatii_op ON admGrupOperatii (opID, ID);

CREATE TABLE admModul (
    mdID        INTEGER NOT NULL PRIMARY KEY,
    mdDenumire  VARCHAR(100) COLLATE NOCASE
);
CREATE INDEX IX_admModul_mdDenumire ON admModul (mdDenumire);

-- An operation is identified by the pair opID and Id; opID is unique within its module and
-- opIdParinte names the opID of the parent operation in the same module.
CREATE TABLE admOperatiiModul (
    opID        INTEGER NOT NULL,
    mdID        INTEGER NOT NULL,
    Id          INTEGER NOT NULL,
    opDenumire  VARCHAR(100) COLLATE NOCASE,
    opIdParinte INTEGER
);
CREATE UNIQUE INDEX IX_admOperatiiModul_key ON admOperatiiModul (opID, Id);
CREATE INDEX IX_admOperatiiModul_mdID ON admOperatiiModul (mdID);
CREATE INDEX IX_admOperatiiModul_opDenumire ON admOperatiiModul (opDenumire);

CREATE TABLE admGrupPuncteLucru (
    grID        INTEGER NOT NULL,
    IdPctLucru  INTEGER NOT NULL
);
CREATE INDEX IX_admGrupPuncteLucru_grID ON admGrupPuncteLucru (grID, IdPctLucru);
CREATE INDEX IX_admGrupPuncteLucru_pct ON admGrupPuncteLucru (IdPctLucru);

-- IdAuthor and Name must stay the first two columns: the brand tab reads them by position.
CREATE TABLE Authors (
    IdAuthor    INTEGER NOT NULL PRIMARY KEY,
    Name        VARCHAR(100) COLLATE NOCASE,
    NickName    VARCHAR(50) COLLATE NOCASE,
    CodFiscal   VARCHAR(20),
    Localitate  VARCHAR(50) COLLATE NOCASE
);
CREATE INDEX IX_Authors_Name ON Authors (Name);

CREATE TABLE PSR_Pers (
    IdPers      INTEGER NOT NULL PRIMARY KEY,
    Nume        VARCHAR(50) COLLATE NOCASE,
    Prenume     VARCHAR(50) COLLATE NOCASE,
    usID        INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IX_PSR_Pers_usID ON PSR_Pers (usID);
CREATE INDEX IX_PSR_Pers_Nume ON PSR_Pers (Nume, Prenume);

CREATE TABLE CRM_User (
    UserId            INTEGER NOT NULL,
    IdBrand           INTEGER NOT NULL,
    isSupervizorBrand INTEGER NOT NULL DEFAULT 0,
    isAdministrator   INTEGER NOT NULL DEFAULT 0,
    DataAct           DATETIME
);
CREATE INDEX IX_CRM_User_UserId ON CRM_User (UserId, IdBrand);

CREATE TABLE CRM_Author (
    IdAuthor    INTEGER NOT NULL,
    IdBrand     INTEGER NOT NULL,
    UserId      INTEGER,
    DataAct     DATETIME
);
CREATE INDEX IX_CRM_Author_IdBrand ON CRM_Author (IdBrand);
