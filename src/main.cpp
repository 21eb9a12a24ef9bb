#include "platform/ui/Messages.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"

#include <QApplication>
#include <QCommandLineParser>

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
    adimlar.giris = [](TDM1&) {
        // the login dialog takes this place
        ui::ShowMessage(QStringLiteral("BİLGİ: Veritabanı hazır. Giriş ekranı bu derlemede henüz yok."));
    };
    const int sonuc = startup::BaslangicSirasi(dm, ayarlar, adimlar);
    if (sonuc != startup::Devam) {
        DM1 = nullptr;
        return sonuc;
    }
    const int code = QApplication::exec();
    DM1 = nullptr;
    return code;
}
