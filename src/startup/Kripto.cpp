#include "startup/Kripto.h"

#include <QRandomGenerator>

namespace {

constexpr qsizetype OnEkUzunlugu = 9;

class Karistirici {
public:
    // Characters outside the printable ASCII range pass unchanged and leave the state alone.
    char16_t adim(char16_t b) {
        if (b < 32 || b > 126) return b;
        m_s = (m_s & 0x1FFFFFFFu) ^ ((m_s >> 29) & 0x31u);
        const int q = int(m_s / 95u);
        const char16_t r = char16_t(Mod95(q - (int(b) - 32)) + 32);
        if (++m_c == 20857u) m_c = 0;
        m_s = ((quint32(r) ^ quint32(b)) & 0xFFu) + 2u * m_s + m_c; // wraps modulo 2^32
        return r;
    }

private:
    quint32 m_s = 0;
    quint32 m_c = 0;
};

} // namespace

int Mod95(int n) {
    const int r = n % 95;
    return r < 0 ? r + 95 : r;
}

QString Crypt2(const QString& text, const QString& key) {
    Karistirici k;
    for (QChar c : key)
        k.adim(c.unicode());
    QString out = text;
    for (QChar& c : out)
        c = QChar(k.adim(c.unicode()));
    return out;
}

QString RandomGenerate() {
    QRandomGenerator* g = QRandomGenerator::global();
    g->bounded(999999999); // the first draw is thrown away
    QString s = QString::number(g->bounded(999999999));
    while (s.size() < OnEkUzunlugu)
        s += u'0';
    return s;
}

QString Scrypt(const QString& text, const QString& key, bool encode) {
    if (encode) return Crypt2(RandomGenerate() + text, key);
    const QString r = Crypt2(text, key);
    return r.size() > OnEkUzunlugu ? r.mid(OnEkUzunlugu) : QString();
}
