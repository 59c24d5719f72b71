#include "SuiteNames.h"

namespace {

QStringList split(const char* words) {
    return QString::fromUtf8(words).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

namespace SuiteNames {

const QStringList& surnames() {
    static const QStringList words =
        split("Popescu,Ionescu,Popa,Pop,Radu,Dumitru,Stan,Stoica,Gheorghe,Matei,Ciobanu,Constantin,Rusu,Mihai,Lazăr,"
              "Munteanu,Dinu,Marin,Tudor,Florea,Moldovan,Barbu,Ene,Cristea,Nistor,Ilie,Toma,Sârbu,Vasile,Moraru,"
              "Dobre,Anghel,Oprea,Dragomir,Neagu,Avram,Ungureanu,Enache,Voicu,Stanciu,Iordache,Manole,Pavel,Nedelcu,"
              "Roman,Căpraru,Bălan,Coman,Zamfir,Crăciun,Mocanu,Bogdan,Sandu,Tănase,Preda,Rădulescu,Mureșan,Lungu,"
              "Drăgan,Andrei,Niculescu,Cojocaru,Șerban,Ghiță,Ardeleanu,Olteanu,Petrescu,Diaconu,Grigore,Chiriac,"
              "Costache,Iliescu,Vlad,Nicolae,Surdu,Dobrescu,Mitrea,Bucur,Păun,Cazacu,Filip,Husar,Ispas,Jitaru,"
              "Kovács,Lupu,Mărginean,Nagy,Onea,Pintea,Rotaru,Simion,Suciu,Țurcanu,Ursu,Văduva,Zaharia,Bratu");
    return words;
}

const QStringList& maleFirstNames() {
    static const QStringList words =
        split("Andrei,Alexandru,Mihai,Ion,Gheorghe,Vasile,Constantin,Dan,Adrian,Florin,Cristian,Bogdan,Marius,Ionuț,"
              "Răzvan,Radu,Ștefan,Nicolae,Petru,Sorin,Cătălin,Gabriel,Lucian,Ovidiu,Daniel,Paul,Tudor,Victor,Vlad,"
              "Cosmin,Claudiu,Liviu,Mircea,Emil,Horia,Iulian,Laurențiu,Octavian,Sebastian,Valentin,Dragoș,Eugen");
    return words;
}

const QStringList& femaleFirstNames() {
    static const QStringList words =
        split("Maria,Elena,Ioana,Ana,Andreea,Mihaela,Cristina,Gabriela,Alexandra,Daniela,Raluca,Roxana,Simona,Alina,"
              "Diana,Irina,Laura,Monica,Oana,Ramona,Corina,Carmen,Adriana,Georgiana,Iulia,Larisa,Loredana,Mădălina,"
              "Nicoleta,Otilia,Petronela,Silvia,Teodora,Violeta,Bianca,Camelia,Delia,Florina,Lavinia,Ștefania");
    return words;
}

const QStringList& cities() {
    static const QStringList words =
        split("București,Cluj-Napoca,Timișoara,Iași,Constanța,Craiova,Brașov,Galați,Ploiești,Oradea,Brăila,Arad,"
              "Pitești,Sibiu,Bacău,Târgu Mureș,Baia Mare,Buzău,Botoșani,Satu Mare,Râmnicu Vâlcea,Suceava,Piatra Neamț,"
              "Drobeta-Turnu Severin,Focșani,Târgoviște,Bistrița,Tulcea,Reșița,Slatina,Călărași,Alba Iulia,Giurgiu,"
              "Deva,Hunedoara,Zalău,Sfântu Gheorghe,Bârlad,Vaslui,Roman,Turda,Mediaș,Slobozia,Alexandria,Voluntari");
    return words;
}

const QStringList& companyWords() {
    static const QStringList words =
        split("Brădet,Carpatica,Dunărea,Mureș,Făgăraș,Olt,Siret,Prut,Someș,Ceahlău,Bucegi,Retezat,Parâng,Apuseni,"
              "Delta,Bărăgan,Banat,Crișana,Dobrogea,Muntenia,Oltenia,Moldova,Transilvania,Maramureș,Bucovina,"
              "Vrancea,Argeș,Ialomița,Jiu,Timiș,Bega,Cerna,Vidraru,Rarău,Semenic,Ciucaș,Postăvarul,Tâmpa,Gutâi,"
              "Călimani,Codru,Izvor,Stejar,Fag,Tei,Salcâm,Arin,Molid,Ulm,Frasin,Mesteacăn,Soarele,Luceafărul,Zorile");
    return words;
}

const QStringList& companyActivities() {
    static const QStringList words =
        split("Distribuție,Construct,Logistic,Agro,Turism,Trans,Impex,Comerț,Industrial,Service,Prod,Consult,"
              "Alimentara,Farm,Energie,Tehnic,Medical,Textil,Mobila,Instal,Auto,Expres,Invest,Media");
    return words;
}

const QStringList& workPointKinds() {
    static const QStringList words =
        split("Sediu,Depozit,Magazin,Punct de lucru,Atelier,Showroom,Birou,Fermă,Siloz,Șantier,Service,Farmacie,"
              "Agenție,Terminal,Hală,Brutărie,Benzinărie,Centru logistic");
    return words;
}

const QStringList& streets() {
    static const QStringList words =
        split("Str. Lungă,Calea Victoriei,Bd. Unirii,Str. Republicii,Str. Fabricii,Str. Gării,Str. Eroilor,"
              "Str. Mihai Viteazu,Bd. Independenței,Str. Libertății,Str. Principală,Calea Națională,Str. Morii,"
              "Str. Zorilor,Str. Primăverii,Șos. Industriilor,Str. Avram Iancu,Str. Ștefan cel Mare");
    return words;
}

const QStringList& moduleDomains() {
    static const QStringList words =
        split("Contabilitate,Gestiune stocuri,Vânzări,Aprovizionare,Resurse umane,Salarizare,CRM,Mijloace fixe,"
              "Trezorerie,Producție,Mentenanță,Transport,Calitate,Proiecte,Bugetare,Achiziții publice,Retail,"
              "Service auto,Flotă,Documente,Arhivă,Contracte,Marketing,Logistică,Facturare");
    return words;
}

const QStringList& moduleQualifiers() {
    static const QStringList words =
        split("general,rapoarte,configurare,import,export,nomenclatoare,operațiuni zilnice,închideri,analize,"
              "avansat,mobil,web,portal clienți,portal furnizori,aprobări,integrare bănci,integrare ANAF,"
              "multi-gestiune,consolidare,arhivare,audit,planificare,alerte,tablou de bord");
    return words;
}

const QStringList& operationVerbs() {
    static const QStringList words =
        split("Adăugare,Modificare,Ștergere,Listare,Vizualizare,Validare,Anulare,Aprobare,Export,Import,Închidere,"
              "Redeschidere,Generare,Calcul,Transfer,Recalculare,Tipărire,Trimitere,Arhivare,Configurare");
    return words;
}

const QStringList& operationNouns() {
    static const QStringList words =
        split("factură,aviz,chitanță,comandă,ofertă,contract,jurnal,notă contabilă,balanță,fișă de cont,NIR,"
              "bon de consum,transfer,inventar,stat de plată,pontaj,concediu,angajat,client,furnizor,articol,"
              "listă de prețuri,discount,retur,plată,încasare,extras bancar,registru de casă,declarație,raport,"
              "mijloc fix,amortizare,deviz,lot,rută,vehicul,document,proiect,buget,campanie");
    return words;
}

const QStringList& departments() {
    static const QStringList words =
        split("CONTAB|Contabilitate,GEST|Gestionari depozit,VANZ|Vânzări,APROV|Aprovizionare,HR|Resurse umane,"
              "SAL|Salarizare,CRM|Relații clienți,MF|Mijloace fixe,TREZ|Trezorerie,PROD|Producție,"
              "MENT|Mentenanță,TRANS|Transport,CAL|Calitate,PROI|Proiecte,BUG|Bugetare,IT|Informatică,"
              "DIR|Direcțiune,AUDIT|Audit intern,JUR|Juridic,MKT|Marketing,LOG|Logistică,CASA|Casieri");
    return words;
}

const QStringList& brandWords() {
    static const QStringList words =
        split("Natur,Premium,Clasic,Express,Verde,Gold,Fresh,Bio,Tradițional,Max,Plus,Home,Pro,Eco,Family,Select");
    return words;
}

QString asciiLower(const QString& text) {
    QString folded = text.normalized(QString::NormalizationForm_D).toLower();
    QString result;
    result.reserve(folded.size());
    for (const QChar c : folded) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            result += c;
    }
    return result;
}

QString cityCode(const QString& city) {
    return asciiLower(city).left(3).toUpper();
}

} // namespace SuiteNames
