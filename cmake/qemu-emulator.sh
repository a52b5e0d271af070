#!/usr/bin/env bash
# Runs an ARM64 Linux program under qemu with the cross packages' sysroot as
# its root for libraries. The sysroot's glibc must come first: the multiarch
# libc6:arm64 that libnlopt-dev:arm64 brings into /lib/aarch64-linux-gnu does
# not match the sysroot's dynamic loader (programs hang). LD_LIBRARY_PATH=/lib
# is the sysroot's /lib under qemu; NLopt itself is found in the host's
# /usr/lib/aarch64-linux-gnu.
qemu=$(command -v qemu-aarch64-static || command -v qemu-aarch64)
exec "$qemu" -L /usr/aarch64-linux-gnu -E LD_LIBRARY_PATH=/lib "$@"
