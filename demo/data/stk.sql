-- The stock database's copy of the work points (same ids as ordavia), group settings and brands.

INSERT INTO stk_PuncteLucru (IdPctLucru, IdAuthor, Denumire, Gestiune) VALUES
    (1, 1, 'Sediu central Brașov', 'G01'),
    (2, 1, 'Depozit Codlea', 'G02'),
    (3, 1, 'Magazin Râșnov', 'G03'),
    (4, 2, 'Sediu Cluj-Napoca', 'G01'),
    (5, 2, 'Șantier Florești', 'G02'),
    (6, 2, 'Bază utilaje Apahida', 'G03'),
    (7, 3, 'Sediu Galați', 'G01'),
    (8, 3, 'Terminal Brăila', 'G02'),
    (9, 3, 'Punct de lucru Tulcea', 'G03'),
    (10, 3, 'Depozit Constanța Sud', 'G04'),
    (11, 4, 'Fermă Sâncraiu de Mureș', 'G01'),
    (12, 4, 'Siloz Luduș', 'G02'),
    (13, 4, 'Sediu Târgu Mureș', 'G03'),
    (14, 5, 'Pensiunea Sâmbăta', 'G01'),
    (15, 5, 'Agenția Făgăraș', 'G02');

INSERT INTO stk_cfgOperDrepturi (grID, TipDocument, PoateValida, PoateAnula) VALUES
    (1, 'NIR', 1, 1),
    (1, 'AVIZ', 1, 1),
    (1, 'BC', 1, 1),
    (3, 'NIR', 1, 0),
    (3, 'AVIZ', 1, 0),
    (4, 'BC', 1, 0),
    (6, 'NIR', 0, 0);

INSERT INTO FAZ_Brand (IdBrand, Brand, Activ) VALUES
    (1, 'Brădet Natur', 1),
    (2, 'Brădet Premium', 1),
    (3, 'CarpaBeton', 1),
    (4, 'Dunărea Express', 1),
    (5, 'Lactate Mureșene', 1),
    (6, 'AgroVerde', 0),
    (7, 'Făgăraș Tour', 1);
