#pragma once

#include <QString>

// The scrambled form in which the customs database keeps passwords: a keyed,
// position-dependent substitution over the printable ASCII characters (32 to 126) behind
// a nine-digit random prefix. An obfuscation, not encryption.

// encode: the stored form of text (nine random digits + text, scrambled under key).
// decode: the text a stored form was made from; empty for 9 characters or fewer.
QString Scrypt(const QString& text, const QString& key, bool encode);
// One pass of the substitution; applying it twice with the same key gives text back.
QString Crypt2(const QString& text, const QString& key);
// Nine decimal digits: a random number below 999999999, padded with "0" at its end.
QString RandomGenerate();
// n mod 95 in 0 to 94, also for negative n.
int Mod95(int n);
