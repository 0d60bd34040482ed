#!/usr/bin/env bash
# Runs the README's commands on a new machine: a minimal Debian 12 root filesystem (debootstrap
# minbase, cached under build/fresh/), a clean clone of the current commit copied into it, then,
# inside a chroot with /proc, /dev and /sys mounted:
#   1. scripts/run.sh without a display: it must build the programs from the 'run' packages alone
#      and end with korveline's one-line "no display" message and exit code 1;
#   2. bash .ci/run, the whole test command, as CI runs it.
# Slow (it installs and builds everything from scratch), so not part of .ci/run. Run as root.
# Only committed work is checked: uncommitted changes are not in the clone.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "fresh-check.sh: $*" >&2
    exit 1
}
[ "$(id -u)" -eq 0 ] || fail "run as root (debootstrap, chroot and mount need it)"
command -v debootstrap >/dev/null ||
    env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "fresh-check.sh: uncommitted changes are not checked, only commit $(git rev-parse --short HEAD)"

# The Debian mirror this machine's own apt uses for bookworm (deb822 sources first, then the
# one-line format): a new machine takes its packages from where this one does.
debian_mirror() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             /(^|\n)Suites:[^\n]*[[:space:]]bookworm([[:space:]]|$)/ {
                 for (i = 1; i <= NF; i++) if ($i ~ /^URIs:/) { split($i, u, /[[:space:]]+/); print u[2]; exit }
             }' "$file"
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" && $0 ~ /[[:space:]]bookworm[[:space:]]/ {
                 for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit }
             }' "$file"
    done
}
mirror=$(debian_mirror | head -n 1)
[ -n "$mirror" ] || fail "no bookworm source in this machine's apt configuration (/etc/apt)"

started=$(date +%s)
fresh=$PWD/build/fresh
cache=$fresh/bookworm-minbase.tar
root=$fresh/root
mkdir -p "$fresh"
if [ ! -f "$cache" ]; then
    rm -rf "$fresh/bootstrap"
    debootstrap --variant=minbase bookworm "$fresh/bootstrap" "$mirror" \
        >"$fresh/debootstrap.log" 2>&1 || fail "debootstrap failed: see $fresh/debootstrap.log"
    tar -C "$fresh/bootstrap" -cf "$cache.part" . && mv "$cache.part" "$cache"
    rm -rf "$fresh/bootstrap"
fi

mounted=()
cleanup() {
    local m
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        m=${mounted[i]}
        umount -R "$m" 2>/dev/null || umount -R -l "$m" 2>/dev/null || true
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A root left mounted by a killed run is unmounted before it is removed.
for m in proc sys dev; do
    if mountpoint -q "$root/$m" 2>/dev/null; then umount -R -l "$root/$m"; fi
done
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$cache"
# The machine's own package sources (updates and security included), as a new machine has them.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    rm -f "$root/etc/apt/sources.list"
    cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The machine's certificate authorities too: where its network goes through a proxy of its own,
# npm (the web step) reaches the registry only with them.
extra_env=()
if [ -n "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f "$NODE_EXTRA_CA_CERTS" ]; then
    cp "$NODE_EXTRA_CA_CERTS" "$root/etc/host-ca-certificates.crt"
    extra_env+=(NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt)
fi
git clone -q --no-local "$PWD" "$root/work/korveline"
[ -d ../shared ] && cp -r ../shared "$root/work/shared"

mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --rbind /sys "$root/sys" && mounted+=("$root/sys")
mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev" && mounted+=("$root/dev")
mount --make-rslave "$root/dev"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true "${extra_env[@]}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

echo "== run.sh with no display"
status=0
in_root bash -c 'cd /work/korveline && bash scripts/run.sh' >"$fresh/run.log" 2>&1 || status=$?
tail -1 "$fresh/run.log"
[ "$status" -eq 1 ] || fail "run.sh: exit code $status, expected 1 (see $fresh/run.log)"
grep -q "korveline: no display found" "$fresh/run.log" || fail "run.sh: no 'no display' message"
ran=$(date +%s)

echo "== .ci/run"
status=0
in_root bash -c 'cd /work/korveline && bash .ci/run' 2>&1 | tee "$fresh/ci.log" || status=$?
finished=$(date +%s)
echo "fresh-check.sh: run.sh $((ran - started)) s, .ci/run $((finished - ran)) s, exit code $status"
exit "$status"
