#include "diagnostics/formHakkinda.h"
#include "lookup/formAntSabitler.h"
#include "operations/formMain.h"
#include "reports/RaporLink.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"
#include "startup/Guncelleme.h"
#include "startup/formLogon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvoAntrepo"));
    QApplication::setApplicationDisplayName(QStringLiteral("TarvoAntrepo"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("Bağlantı ayarları dosyası."),
                                    QStringLiteral("FILE"));
    parser.addOption(configOption);
    parser.addPositionalArgument(QStringLiteral("kullanici"), QStringLiteral("Giriş için kullanıcı adı."));
    parser.addPositionalArgument(QStringLiteral("sifre"), QStringLiteral("Giriş için şifre."));
    parser.process(app);

    TDM1 dm;
    DM1 = &dm;
    const auto ayarlar = startup::readConfig(startup::findConfigFile(parser.value(configOption)));

    startup::Adimlar adimlar;
    adimlar.guncellemeKontrol = startup::GuncellemeKontrol;
    adimlar.giris = [args = parser.positionalArguments()](TDM1& d) { GirisEkrani(d, args); };
    const int sonuc = startup::BaslangicSirasi(dm, ayarlar, adimlar);
    if (sonuc != startup::Devam) {
        DM1 = nullptr;
        return sonuc;
    }
    int code = 0;
    {
        TfrmMain frmMain(dm);
        frmMain.AntSabitlerAc = [&frmMain] { AntSabitlerDuzenle(&frmMain); };
        frmMain.RaporSistemiAc = [] { reports::RaporSisteminiAc(); };
        frmMain.HakkindaAc = [&frmMain] { HakkindaGoster(&frmMain); };
        // without a window manager (e.g. a bare X server) maximising is not honoured
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            frmMain.setGeometry(screen->availableGeometry());
        frmMain.showMaximized();
        code = QApplication::exec();
    }
    DM1 = nullptr;
    return code;
}
