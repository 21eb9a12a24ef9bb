#!/usr/bin/env bash
# Sets up what is missing, builds, creates the demo database if there is none and starts
# the program on it. Extra arguments go to the program (e.g. a user name and password).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
mkdir -p demo
if [ ! -f demo/tarvo-demo.db ]; then
    ./build/tools/tarvo_demodb demo/tarvo-demo.db
fi
if [ ! -f demo/TarvoAntrepo.ini ]; then
    printf '[Baglanti]\nSurucu=sqlite\nSunucuAdi=tarvo-demo.db\n' > demo/TarvoAntrepo.ini
fi
exec ./build/src/TarvoAntrepo --config demo/TarvoAntrepo.ini "$@"
