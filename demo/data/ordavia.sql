-- Work points of the demo companies.

INSERT INTO PSR_PuncteLucru (IdPctLucru, IdAuthor, Name, Adresa) VALUES
    (1, 1, 'Sediu central Brașov', 'Str. Lungă nr. 112, Brașov'),
    (2, 1, 'Depozit Codlea', 'Str. Fabricii nr. 4, Codlea'),
    (3, 1, 'Magazin Râșnov', 'Piața Unirii nr. 9, Râșnov'),
    (4, 2, 'Sediu Cluj-Napoca', 'Calea Turzii nr. 201, Cluj-Napoca'),
    (5, 2, 'Șantier Florești', 'Str. Eroilor nr. 55, Florești'),
    (6, 2, 'Bază utilaje Apahida', 'DN 1C km 8, Apahida'),
    (7, 3, 'Sediu Galați', 'Str. Domnească nr. 30, Galați'),
    (8, 3, 'Terminal Brăila', 'Portul Brăila, dana 12'),
    (9, 3, 'Punct de lucru Tulcea', 'Str. Isaccei nr. 17, Tulcea'),
    (10, 3, 'Depozit Constanța Sud', 'Incinta Port Constanța Sud, Agigea'),
    (11, 4, 'Fermă Sâncraiu de Mureș', 'Str. Principală nr. 250, Sâncraiu de Mureș'),
    (12, 4, 'Siloz Luduș', 'Str. Gării nr. 2, Luduș'),
    (13, 4, 'Sediu Târgu Mureș', 'Str. Gheorghe Doja nr. 64, Târgu Mureș'),
    (14, 5, 'Pensiunea Sâmbăta', 'Sâmbăta de Sus nr. 301'),
    (15, 5, 'Agenția Făgăraș', 'Str. Republicii nr. 12, Făgăraș');
