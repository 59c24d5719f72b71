-- The orders database of the suite; the tool reads its work points.

CREATE TABLE PSR_PuncteLucru (
    IdPctLucru  INTEGER NOT NULL PRIMARY KEY,
    IdAuthor    INTEGER NOT NULL,
    Name        VARCHAR(100) COLLATE NOCASE,
    Adresa      VARCHAR(150) COLLATE NOCASE
);
CREATE INDEX IX_PSR_PuncteLucru_IdAuthor ON PSR_PuncteLucru (IdAuthor, Name);
