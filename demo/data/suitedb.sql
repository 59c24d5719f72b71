-- Demo rows of the suite's main database: a small Romanian business suite with five companies,
-- eight modules, their operations, persons, users, groups and their grants, and CRM brand roles.

INSERT INTO Authors (IdAuthor, Name, NickName, CodFiscal, Localitate) VALUES
    (1, 'SC Brădet Distribuție SRL', 'Brădet', 'RO14523870', 'Brașov'),
    (2, 'SC Carpatica Construct SA', 'Carpatica', 'RO6235418', 'Cluj-Napoca'),
    (3, 'SC Dunărea Logistic SRL', 'Dunărea', 'RO21877405', 'Galați'),
    (4, 'SC Mureș Agro SRL', 'MureșAgro', 'RO30114592', 'Târgu Mureș'),
    (5, 'SC Țara Făgărașului Turism SRL', 'Făgăraș', 'RO38560127', 'Făgăraș');

INSERT INTO admModul (mdID, mdDenumire) VALUES
    (1, 'Contabilitate'),
    (2, 'Gestiune stocuri'),
    (3, 'Vânzări'),
    (4, 'Aprovizionare'),
    (5, 'Resurse umane'),
    (6, 'Salarizare'),
    (7, 'CRM'),
    (8, 'Mijloace fixe');

-- Id runs over the whole catalogue; opID counts within the module.
INSERT INTO admOperatiiModul (opID, mdID, Id, opDenumire, opIdParinte) VALUES
    (1, 1, 1, 'Jurnale contabile', NULL),
    (2, 1, 2, 'Jurnal de vânzări', 1),
    (3, 1, 3, 'Jurnal de cumpărări', 1),
    (4, 1, 4, 'Registru de casă', NULL),
    (5, 1, 5, 'Note contabile', NULL),
    (6, 1, 6, 'Balanță de verificare', NULL),
    (7, 1, 7, 'Fișă de cont', NULL),
    (8, 1, 8, 'Închidere de lună', NULL),
    (9, 1, 9, 'Declarații fiscale', NULL),
    (10, 1, 10, 'Declarația 300 (TVA)', 9),
    (11, 1, 11, 'Declarația 394', 9),
    (12, 1, 12, 'Plan de conturi', NULL),
    (1, 2, 13, 'Recepții (NIR)', NULL),
    (2, 2, 14, 'Transferuri între gestiuni', NULL),
    (3, 2, 15, 'Bonuri de consum', NULL),
    (4, 2, 16, 'Inventar', NULL),
    (5, 2, 17, 'Fișă de magazie', NULL),
    (6, 2, 18, 'Stoc la zi', NULL),
    (7, 2, 19, 'Rapoarte stocuri', NULL),
    (8, 2, 20, 'Stocuri pe loturi', 7),
    (9, 2, 21, 'Mișcări pe perioadă', 7),
    (10, 2, 22, 'Nomenclator articole', NULL),
    (1, 3, 23, 'Facturi', NULL),
    (2, 3, 24, 'Avize de însoțire', NULL),
    (3, 3, 25, 'Chitanțe', NULL),
    (4, 3, 26, 'Oferte', NULL),
    (5, 3, 27, 'Comenzi clienți', NULL),
    (6, 3, 28, 'Liste de prețuri', NULL),
    (7, 3, 29, 'Discounturi', NULL),
    (8, 3, 30, 'Retururi', NULL),
    (9, 3, 31, 'Situație încasări', NULL),
    (1, 4, 32, 'Comenzi furnizori', 0),
    (2, 4, 33, 'Facturi furnizori', 0),
    (3, 4, 34, 'Plăți', 0),
    (4, 4, 35, 'Contracte', 0),
    (5, 4, 36, 'Evaluare furnizori', 0),
    (6, 4, 37, 'Situație datorii', 0),
    (1, 5, 38, 'Fișa angajatului', NULL),
    (2, 5, 39, 'Contracte de muncă', NULL),
    (3, 5, 40, 'Concedii', NULL),
    (4, 5, 41, 'Concedii de odihnă', 3),
    (5, 5, 42, 'Concedii medicale', 3),
    (6, 5, 43, 'Pontaj', NULL),
    (7, 5, 44, 'Revisal', NULL),
    (1, 6, 45, 'Calcul salarii', 0),
    (2, 6, 46, 'Stat de plată', 0),
    (3, 6, 47, 'Fluturași', 0),
    (4, 6, 48, 'Declarația 112', 0),
    (5, 6, 49, 'Viramente bancare', 0),
    (1, 7, 50, 'Clienți', NULL),
    (2, 7, 51, 'Contacte', NULL),
    (3, 7, 52, 'Activități', NULL),
    (4, 7, 53, 'Oportunități', NULL),
    (5, 7, 54, 'Campanii', NULL),
    (6, 7, 55, 'Branduri', NULL),
    (7, 7, 56, 'Rapoarte CRM', NULL),
    (8, 7, 57, 'Setări roluri', NULL),
    (1, 8, 58, 'Registru mijloace fixe', NULL),
    (2, 8, 59, 'Amortizare', NULL),
    (3, 8, 60, 'Casări', NULL),
    (4, 8, 61, 'Reevaluări', NULL),
    (5, 8, 62, 'Fișa mijlocului fix', NULL);

INSERT INTO admUser (usID, usCod, usDenumire, usDomeniu, usAlias, IdOperator, DataAct) VALUES
    (1, 'admin', 'Administrator sistem', 'BRADET', 'admin', 55, '2025-01-06 08:30:00'),
    (2, 'andrei.popescu', 'Andrei Popescu', 'BRADET', 'apopescu', 55, '2025-01-06 08:41:12'),
    (3, 'ioana.ionescu', 'Ioana Ionescu', 'BRADET', 'iionescu', 55, '2025-01-06 08:44:05'),
    (4, 'mihai.stanciu', 'Mihai Stanciu', 'CARPATICA', 'mstanciu', 55, '2025-01-07 10:02:40'),
    (5, 'elena.dumitrescu', 'Elena Dumitrescu', 'CARPATICA', 'edumitrescu', 55, '2025-01-07 10:05:18'),
    (6, 'radu.munteanu', 'Radu Munteanu', 'DUNAREA', 'rmunteanu', 55, '2025-01-08 09:15:00'),
    (7, 'cristina.moldovan', 'Cristina Moldovan', 'DUNAREA', 'cmoldovan', 55, '2025-01-08 09:20:31'),
    (8, 'stefan.radulescu', 'Ștefan Rădulescu', 'DUNAREA', 'sradulescu', 55, '2025-01-09 14:11:09'),
    (9, 'ana.tudor', 'Ana Tudor', 'MURESAGRO', 'atudor', 55, '2025-01-10 11:47:52'),
    (10, 'vlad.georgescu', 'Vlad Georgescu', 'MURESAGRO', 'vgeorgescu', 55, '2025-01-10 11:50:03'),
    (11, 'gabriela.neagu', 'Gabriela Neagu', 'FAGARAS', 'gneagu', 55, '2025-01-13 13:05:44'),
    (12, 'bogdan.stoica', 'Bogdan Stoica', 'FAGARAS', 'bstoica', 55, '2025-01-13 13:09:27'),
    (13, 'operator.depozit', 'Operator depozit Codlea', NULL, NULL, 55, '2025-01-14 07:58:00'),
    (14, 'laura.matei', 'Laura Matei', 'BRADET', 'lmatei', 55, '2025-02-03 09:00:16'),
    (15, 'tudor.balan', 'Tudor Bălan', 'CARPATICA', 'tbalan', 55, '2025-02-17 15:32:48');

-- usID ties a person to an application user; 0 means none.
INSERT INTO PSR_Pers (IdPers, Nume, Prenume, usID) VALUES
    (1, 'Popescu', 'Andrei', 2),
    (2, 'Ionescu', 'Ioana', 3),
    (3, 'Stanciu', 'Mihai', 4),
    (4, 'Dumitrescu', 'Elena', 5),
    (5, 'Munteanu', 'Radu', 6),
    (6, 'Moldovan', 'Cristina', 7),
    (7, 'Rădulescu', 'Ștefan', 8),
    (8, 'Tudor', 'Ana', 9),
    (9, 'Georgescu', 'Vlad', 10),
    (10, 'Neagu', 'Gabriela', 11),
    (11, 'Stoica', 'Bogdan', 12),
    (12, 'Matei', 'Laura', 14),
    (13, 'Bălan', 'Tudor', 15),
    (14, 'Constantinescu', 'Mădălina', 0),
    (15, 'Dragomir', 'Cătălin', 0),
    (16, 'Șerban', 'Irina', 0),
    (17, 'Țurcanu', 'Alexandru', 0),
    (18, 'Oprea', 'Mirela', 0),
    (19, 'Lungu', NULL, 0),
    (20, 'Marinescu', 'Florin', 0),
    (21, 'Voicu', 'Simona', 0),
    (22, 'Nistor', 'Adrian', 0),
    (23, 'Iordache', 'Raluca', 0),
    (24, 'Preda', NULL, 0),
    (25, 'Ciobanu', 'Ionuț', 0),
    (26, 'Ene', 'Loredana', 0),
    (27, 'Roman', 'Daniel', 0),
    (28, 'Sârbu', 'Anca', 0),
    (29, 'Zamfir', NULL, 0),
    (30, 'Popescu', 'Maria', 0),
    (31, 'Ardeleanu', 'Sorin', 0);

INSERT INTO AdmGrup (grID, grCod, grDenumire, grobs, IdOperator, DataAct) VALUES
    (1, 'ADMIN', 'Administratori', 'Acces complet la toate modulele și societățile', 55, '2025-01-06 08:35:00'),
    (2, 'CONTAB', 'Contabilitate', 'Contabili și economiști', 55, '2025-01-06 08:52:10'),
    (3, 'GESTIUNE', 'Gestionari depozit', 'Recepții, transferuri, inventar', 55, '2025-01-07 09:30:00'),
    (4, 'VANZARI', 'Agenți de vânzări', 'Facturare și relația cu clienții', 55, '2025-01-07 09:41:25'),
    (5, 'APROV', 'Aprovizionare', NULL, 55, '2025-01-08 12:00:00'),
    (6, 'HR', 'Resurse umane și salarizare', 'Date personale: acces restrâns', 55, '2025-01-09 10:10:10'),
    (7, 'CRM', 'Echipa CRM', 'Branduri, campanii, activități', 55, '2025-01-10 16:20:00'),
    (8, 'CITIRE', 'Doar consultare', 'Rapoarte, fără modificări', 55, '2025-01-13 08:05:00');

-- Operations granted per group and company.
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 1, o.opID, o.Id, 55, '2025-01-06' FROM Authors a CROSS JOIN admOperatiiModul o;
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 2, o.opID, o.Id, 55, '2025-01-06' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE a.IdAuthor IN (1, 2, 3) AND o.mdID IN (1, 8);
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 3, o.opID, o.Id, 55, '2025-01-07' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE a.IdAuthor IN (1, 3) AND (o.mdID = 2 OR (o.mdID = 3 AND o.opID = 2));
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 4, o.opID, o.Id, 55, '2025-01-07' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE a.IdAuthor IN (1, 2, 4) AND (o.mdID = 3 OR (o.mdID = 7 AND o.opID IN (1, 2, 3)));
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 5, o.opID, o.Id, 55, '2025-01-08' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE a.IdAuthor IN (2, 4) AND (o.mdID = 4 OR (o.mdID = 2 AND o.opID = 1));
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 6, o.opID, o.Id, 55, '2025-01-09' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE o.mdID IN (5, 6);
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT a.IdAuthor, 7, o.opID, o.Id, 55, '2025-01-10' FROM Authors a CROSS JOIN admOperatiiModul o
    WHERE a.IdAuthor IN (1, 4, 5) AND o.mdID = 7;
INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct)
    SELECT 3, 8, o.opID, o.Id, 55, '2025-01-13' FROM admOperatiiModul o
    WHERE (o.mdID = 1 AND o.opID IN (6, 7)) OR (o.mdID = 2 AND o.opID = 6) OR (o.mdID = 3 AND o.opID = 9);

-- A group lists a company exactly when it holds at least one of its operations.
INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct)
    SELECT DISTINCT auID, grID, 55, DataAct FROM admGrupOperatii;

INSERT INTO admGrupPuncteLucru (grID, IdPctLucru) VALUES
    (1, 1), (1, 2), (1, 3), (1, 4), (1, 5), (1, 6), (1, 7), (1, 8),
    (1, 9), (1, 10), (1, 11), (1, 12), (1, 13), (1, 14), (1, 15),
    (2, 1), (2, 4), (2, 7),
    (3, 1), (3, 2), (3, 3), (3, 7), (3, 8), (3, 9), (3, 10),
    (4, 3), (4, 5), (4, 13),
    (5, 4), (5, 6), (5, 11), (5, 12),
    (6, 1), (6, 4), (6, 7), (6, 13), (6, 15),
    (7, 1), (7, 13), (7, 15),
    (8, 7);

INSERT INTO admUserGrup (usID, grID, IdOperator, DataAct) VALUES
    (1, 1, 55, '2025-01-06'),
    (2, 2, 55, '2025-01-06'),
    (2, 8, 55, '2025-01-13'),
    (3, 2, 55, '2025-01-06'),
    (4, 5, 55, '2025-01-08'),
    (5, 6, 55, '2025-01-09'),
    (6, 3, 55, '2025-01-07'),
    (7, 3, 55, '2025-01-07'),
    (7, 4, 55, '2025-01-07'),
    (8, 8, 55, '2025-01-13'),
    (9, 7, 55, '2025-01-10'),
    (9, 4, 55, '2025-01-10'),
    (10, 5, 55, '2025-01-10'),
    (11, 7, 55, '2025-01-13'),
    (12, 6, 55, '2025-01-13'),
    (13, 3, 55, '2025-01-14'),
    (14, 4, 55, '2025-02-03'),
    (14, 7, 55, '2025-02-03');

-- The company each brand belongs to, and the users' brand roles.
INSERT INTO CRM_Author (IdAuthor, IdBrand, UserId, DataAct) VALUES
    (1, 1, 1, '2025-01-10 16:25:00'),
    (1, 2, 1, '2025-01-10 16:26:30'),
    (2, 3, 1, '2025-01-10 16:27:45'),
    (3, 4, 1, '2025-01-10 16:29:02'),
    (4, 5, 1, '2025-01-10 16:31:10'),
    (5, 7, 1, '2025-01-13 08:40:00');

INSERT INTO CRM_User (UserId, IdBrand, isSupervizorBrand, isAdministrator, DataAct) VALUES
    (1, 1, 0, 1, '2025-01-10 16:25:00'),
    (9, 5, 1, 0, '2025-01-10 16:31:10'),
    (9, 1, 0, 0, '2025-01-10 16:33:00'),
    (11, 7, 1, 1, '2025-01-13 08:40:00'),
    (14, 1, 1, 0, '2025-02-03 09:05:00'),
    (14, 2, 0, 0, '2025-02-03 09:05:40'),
    (4, 3, 0, 0, '2025-02-04 11:00:00'),
    (6, 4, 1, 0, '2025-02-05 12:15:00');
