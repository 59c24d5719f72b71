-- The stock database of the suite: its own copy of the work points, its per-group operation
-- settings and the brands.

CREATE TABLE stk_PuncteLucru (
    IdPctLucru  INTEGER NOT NULL PRIMARY KEY,
    IdAuthor    INTEGER NOT NULL,
    Denumire    VARCHAR(100) COLLATE NOCASE,
    Gestiune    VARCHAR(20) COLLATE NOCASE
);
CREATE INDEX IX_stk_PuncteLucru_IdAuthor ON stk_PuncteLucru (IdAuthor);

CREATE TABLE stk_cfgOperDrepturi (
    grID        INTEGER NOT NULL,
    TipDocument VARCHAR(20) COLLATE NOCASE,
    PoateValida INTEGER NOT NULL DEFAULT 0,
    PoateAnula  INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IX_stk_cfgOperDrepturi_grID ON stk_cfgOperDrepturi (grID);

-- IdBrand and Brand must stay the first two columns: the brand tab reads them by position.
CREATE TABLE FAZ_Brand (
    IdBrand     INTEGER NOT NULL PRIMARY KEY,
    Brand       VARCHAR(100) COLLATE NOCASE,
    Activ       INTEGER NOT NULL DEFAULT 1
);
