#pragma once

#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "schema/CodeNameCache.h"

#include <QObject>
#include <QString>

// The data module: the one connection, every shared dataset and the process-wide state.
class TDM1 : public QObject {
    Q_OBJECT
public:
    explicit TDM1(QObject* parent = nullptr);
    ~TDM1() override;

    db::Connection TarvoDB;

    // connection settings, read from the configuration
    QString SunucuAdi;
    QString DatabaseAdi;
    QString DatabaseKullanici;
    QString DatabaseSifre;
    QString Uyarlama;
    QString Derleme;
    QString LOKASYONADI;
    bool DOMAINUSERKULLANILACAK = false;

    // the logged-in user
    int KullaniciId = 0;
    QString KullaniciLOGON;
    QString KullaniciADI;
    bool SuperKullanici = false;
    bool LogonOK = false;

    // default web-service address, left empty at start-up
    QString WSUrl;

    // editing datasets, one per warehouse table
    db::Dataset AQANT_Beyanname;
    db::Dataset AQANT_Hareket;
    db::Dataset AQANT_Teminat;
    db::Dataset AQANT_OzetBeyan;
    db::Dataset AQANT_Acma;
    db::Dataset AQANT_Sabitler;
    // printing
    db::Dataset AQANT_BeyannameQRP;
    // numbering
    db::Dataset QryAntDosyaNo;
    db::Dataset QryMaxAntDosyaNo;
    // start-up
    db::Dataset DsSabitler;
    db::Dataset DsActivKey;
    db::Dataset DsGuncelle;
    db::Dataset DsExeUpgrade;
    // scratch
    db::Dataset IMQuery;
    db::Dataset QryGenel;
    db::Dataset QryGenel2;
    db::Command IMCommand;

    // schema routines: each tests the catalogue first and changes nothing when done before
    void TabloKolonEkle(const QString& table, const QString& column, const QString& type, const QString& nullClause);
    void TabloKolonEkleWithValues(const QString& table, const QString& column, const QString& type,
                                  const QString& nullClause, const QString& defaultValue);
    void TabloStringKolonGuncelle(const QString& table, const QString& column, quint16 oldWidth, quint16 newWidth,
                                  const QString& nullClause);
    bool TabloVar(const QString& table);
    void TablolariOlustur();    // the six warehouse tables that are missing
    void ProgramKolonlariEkle(); // the program's columns in SABITLER and KULLANICI
    void KolonlariGuncelle();    // the column upgrades of later builds

    void DataModuleDestroy();

private:
    void setupDatasets();
    void calcBeyanname(db::Dataset& ds);

    schema::CodeNameCache m_tasimaAraclari;
    schema::CodeNameCache m_gumrukler;
    schema::CodeNameCache m_ambalajlar;
    schema::CodeNameCache m_teminatTurleri;
    schema::CodeNameCache m_kullanicilar;
};

// The process's one data module.
extern TDM1* DM1;
