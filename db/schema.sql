-- The register database "konverze.mdb": the conversions and the users.
-- Texts hold up to 255 characters (VARCHAR(255) is what the data layer
-- enforces), date-times are REAL days since 1899-12-30, Booleans 0 or 1.

CREATE TABLE konverze (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    poradove_cislo VARCHAR(255),
    datum_konverze DATETIME,
    oznaceni_vstupu VARCHAR(255),
    datum_sepsani_vstupu DATETIME,
    osvobozeni BOOLEAN NOT NULL DEFAULT 0,
    cislo_dokladu VARCHAR(255),
    overujici_osoba VARCHAR(255),
    vystavujici_osoba VARCHAR(255)
);

-- The register is shown newest first, searched by the conversion date and
-- counted by year. The first index carries every column, so the register
-- reads in date order from the index alone, without a lookup in the table per
-- row; the second is the small one the yearly count runs through.
CREATE INDEX konverze_radky_podle_data ON konverze (
    datum_konverze, poradove_cislo, oznaceni_vstupu, datum_sepsani_vstupu,
    osvobozeni, cislo_dokladu, overujici_osoba, vystavujici_osoba
);
CREATE INDEX konverze_datum_konverze ON konverze (datum_konverze);

CREATE TABLE uzivatel (
    jmeno_prijmeni VARCHAR(255),
    ulice VARCHAR(255),
    psc VARCHAR(255),
    mesto VARCHAR(255),
    vystavujici VARCHAR(255),
    email VARCHAR(255),
    ID_advokata VARCHAR(255)
);
