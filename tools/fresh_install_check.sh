#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 minbase system, as a new user would, and
# purges it again: a by-hand check before a release (it downloads a base system; not for CI).
# In a chroot: apt-get install ./vorkalith_*.deb, the program in /usr/games, the desktop
# entry's command started on the X display DISPLAY (when set, for a screenshot), and
# apt-get purge (with autoremove) leaving no file of the package; other differences from the
# system before the install are listed. BASE_DIR keeps the pristine base system
# between runs (default /var/tmp/vorkalith-fresh).
#
#   tools/fresh_install_check.sh [BASE_DIR]        (as root, after tools/setup.sh package)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-/var/tmp/vorkalith-fresh}
"$top/tools/install-packages.sh" debootstrap imagemagick
deb=$(ls "$top"/build-package/vorkalith_*.deb | head -1)

if [ ! -x "$base/root/usr/bin/apt-get" ]; then
    mkdir -p "$base"
    debootstrap --variant=minbase bookworm "$base/root" http://deb.debian.org/debian
fi
root=$(mktemp -d /var/tmp/vorkalith-chroot.XXXXXX)
before=$(mktemp)
after=$(mktemp)
mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" || true; done
    rm -rf "$root" "$before" "$after"
}
trap cleanup EXIT
cp -a "$base/root/." "$root/"
for dir in proc dev/pts tmp/.X11-unix; do
    mkdir -p "$root/$dir"
done
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount -t devpts devpts "$root/dev/pts" && mounted+=("$root/dev/pts")
if [ -d /tmp/.X11-unix ]; then
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounted+=("$root/tmp/.X11-unix")
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
listing() { in_root find / -xdev \( -path /proc -o -path /tmp -o -path /var/cache/apt -o -path /var/lib/apt/lists \
    -o -path /var/log -o -path /root \) -prune -o -print | sort; }

cp "$deb" "$root/tmp/"
listing >"$before"
echo "-- apt-get install ./$(basename "$deb")"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./tmp/$(basename "$deb")" >/dev/null
in_root dpkg -s vorkalith | grep -E '^(Status|Version):'
test -x "$root/usr/games/vorkalith" && echo "/usr/games/vorkalith is there"
in_root /usr/games/vorkalith --version

echo "-- the desktop entry's command"
exec_line=$(grep '^Exec=' "$root/usr/share/applications/vorkalith.desktop" | cut -d= -f2-)
echo "Exec=$exec_line"
if [ -n "${DISPLAY:-}" ]; then
    in_root env DISPLAY="$DISPLAY" $exec_line --window &
    game=$!
    sleep 4
    import -window root "${OUT:-/tmp}/fresh-install.png" && echo "screenshot ${OUT:-/tmp}/fresh-install.png"
    kill -TERM "$game"
    wait "$game" || echo "ended with status $?"
else
    in_root sh -c "$exec_line --help >/dev/null" && echo "it starts (no DISPLAY: --help only)"
fi

echo "-- apt-get purge"
files=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$')
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vorkalith >/dev/null
in_root env DEBIAN_FRONTEND=noninteractive apt-get autoremove --purge -y -qq >/dev/null
left=0
for f in $files; do
    if [ -e "$root$f" ]; then
        echo "left behind: $f"
        left=1
    fi
done
if in_root dpkg -s vorkalith >/dev/null 2>&1; then
    echo "dpkg still knows vorkalith"
    left=1
fi
# What else differs was left by the dependencies' own scripts (users, backups of their files).
listing >"$after"
echo "-- files that differ from before the install, none of the package's:"
diff "$before" "$after" | grep '^[<>]' || true
[ "$left" -eq 0 ] && echo "purged: no file of the package is left, and dpkg no longer knows it"
exit "$left"
