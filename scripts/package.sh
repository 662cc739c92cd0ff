#!/usr/bin/env bash
# Builds the Debian package from build/ (configured and built by scripts/setup.sh), lists what it
# installs and what it depends on, and checks that apt could install it here.
set -euo pipefail
cd "$(dirname "$0")/../build"
rm -f lumatide_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
package=$(ls lumatide_*.deb)
echo "package: build/$package"
dpkg-deb --field "$package" Depends
dpkg --contents "$package" | awk '$1 !~ /^d/ { print $1, $3, $6 }'
# A dry run resolves every dependency against the machine's package lists without installing.
apt-get install --simulate "./$package" >apt.log 2>&1 || { cat apt.log >&2; exit 1; }
