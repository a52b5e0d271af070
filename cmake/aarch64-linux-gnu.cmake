# ARM64 Linux with Debian's cross compiler; the programs run under qemu
# (cmake/qemu-emulator.sh).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(VELMORA_SYSROOT /usr/aarch64-linux-gnu)
# The cross packages' sysroot, and the host's own root for Debian's multiarch
# arm64 packages (libnlopt-dev:arm64 in /usr/lib/aarch64-linux-gnu).
set(CMAKE_FIND_ROOT_PATH ${VELMORA_SYSROOT} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/qemu-emulator.sh)
