#pragma once

// The tables and the stored query of a content database as the files the reader reads were made:
// typ, thementitel, Literatur, thema, themenalleinfos (whose two "titel" and two "thementitelid"
// columns take their tables' names).

namespace support {

inline constexpr const char* kInhaltsTabellen[] = {
    "CREATE TABLE [typ] ([typnummer] SHORT)",
    "CREATE TABLE [thementitel] ([thementitelid] LONG, [Titel] TEXT(100))",
    "CREATE TABLE [Literatur] ([literaturid] LONG, [Autor] TEXT(100), [Titel] TEXT(255), "
    "[Reihe] TEXT(100), [Herausgeber] TEXT(100), [Auflage] TEXT(20), [Verlag] TEXT(100), "
    "[Ort] TEXT(50), [Jahr] TEXT(10))",
    "CREATE TABLE [thema] ([themaid] COUNTER, [thementitelid] LONG, [enneatypid] SHORT, "
    "[Inhalt] LONGTEXT, [literaturid] LONG)",
    "CREATE VIEW themenalleinfos AS SELECT thementitel.titel, thementitel.thementitelid, "
    "thema.thementitelid, thema.enneatypid, thema.Inhalt, Literatur.Autor, Literatur.Titel, "
    "Literatur.Reihe, Literatur.Herausgeber, Literatur.Auflage, Literatur.Verlag, Literatur.Ort, "
    "Literatur.Jahr FROM (thema INNER JOIN thementitel ON thema.thementitelid = "
    "thementitel.thementitelid) INNER JOIN Literatur ON thema.literaturid = Literatur.literaturid",
};

}  // namespace support
