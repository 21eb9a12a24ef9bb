#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>

class QLineEdit;

namespace db {
class Dataset;
}

// ---- query and record helpers

// Creates a query on DM1's connection that nothing owns and opens it with SQLText. Any
// failure while opening gives false, silently; AQTable refers to the new query either way
// and the caller frees it with CloseADOQuery.
bool OpenADOQuery(db::Dataset*& AQTable, const QString& SQLText);
// Closes and frees the query; AQTable becomes null.
void CloseADOQuery(db::Dataset*& AQTable);

// Deletes the current row after an OK/Cancel question; true when a row was deleted.
bool KayitSil(db::Dataset& Tablo);

// Display text of a code of the code table TabloAdi (a plain table name, else DbError).
// An empty code is acceptable and not looked up.
QString DegerGetir(const QString& TabloAdi, const QString& Kodu, bool& Bulundu);
QString KullaniciAdiGetir(int KullaniciId);
// AdresId is an address key as text; anything but a whole decimal number finds nothing.
QString IsimGetir(const QString& AdresId);
// As IsimGetir, the tax number; "x" for a firm whose tax number is blank.
QString VergiNoGetir(const QString& AdresId);

// "COLUMN BETWEEN {ts 'first day 00:00:00'} AND {ts 'last day 23:59:59'}"
QString SQLDateBetweenTwoDates(const QString& VariableName, const QDateTime& DateFirst,
                               const QDateTime& DateLast);

// A window width capped to 98 percent of the primary screen's work area.
int MaxFormWidth(int FormCanBeMax);
int MaxFormWidth(int FormCanBeMax, int WorkAreaWidth);

// ---- numbering and code rules

// Sequence number for a new operation of Tarih's year: the lowest hole among the year's
// last 101 numbers, else the next one. Throws DbError when the year is full.
quint16 AntDosyaNoVer(const QDateTime& Tarih);
// "2024/000057"
QString FormatDosyaNo(int Yil, int DosyaNo);
// Deger fitted to Basamak characters: zeros in front, or cut keeping the leading digits.
QString Fill0(int Deger, quint8 Basamak);
// "IM", "EX", "AN", "TR" or empty, from the regime code's first character.
QString BeyanTuruVer(const QString& RejimKodu);
QString GTIPNoktasiz(const QString& GTIP);
// "8471.30.00.00.00"
QString GTIPNoktali(const QString& GTIP);

// Turkish upper case of one character, whatever the system locale.
QChar BuyuKHarf(QChar key);
QString TurkceKelimeBuyut(const QString& GelenStr);
// Every character typed into the edit is upper-cased with BuyuKHarf; pasted text is not.
void BuyukHarfGirisi(QLineEdit* edit);
