#!/usr/bin/env bash
# Maps a small tmpfs as a drive of the Wine prefix, so that a test can fill
# it up and make a write fail part-way.
#
#   small-drive.sh setup|cleanup PREFIX MOUNTPOINT LETTER
set -euo pipefail
action=$1 prefix=$2 mountpoint=$3 letter=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
link=$prefix/dosdevices/$letter:

release() {
  rm -f "$link"
  if mountpoint -q "$mountpoint"; then umount "$mountpoint" || umount -l "$mountpoint"; fi
}

case $action in
  setup)
    "$here/../../tools/wine-prefix-init" "$prefix"
    release
    mkdir -p "$mountpoint"
    mount -t tmpfs -o size=1m,mode=0755 trevolo-small-drive "$mountpoint"
    ln -s "$mountpoint" "$link"
    ;;
  cleanup)
    release
    rmdir "$mountpoint" 2>/dev/null || true
    ;;
  *) echo "usage: small-drive.sh setup|cleanup PREFIX MOUNTPOINT LETTER" >&2; exit 2 ;;
esac
