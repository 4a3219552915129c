#include "rsarandom.h"

#include "md5.h"
#include "rsamem.h"

#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace {

constexpr unsigned int kBlockSize = 16;

// The seed goes in as blocks of this size, as many as the structure needs.
constexpr unsigned int kSeedBlockSize = 4;

// Moves the state on to the next output block. The carry moves to the next byte when
// the byte just incremented was 0 before (not when it wrapped to 0): that is the
// generator's defined sequence, which the other end of a test may reproduce.
void advanceState(uint8_t state[16])
{
    for (int i = kBlockSize - 1; i >= 0; --i) {
        if (state[i]++ != 0)
            break;
    }
}

bool readWholly(int fd, uint8_t *buffer, std::size_t length)
{
    while (length > 0) {
        const ssize_t got = read(fd, buffer, length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        length -= std::size_t(got);
    }
    return true;
}

// Reads the kernel's cryptographic generator; the device file serves kernels or
// sandboxes without the system call.
bool readSystemRandom(uint8_t *buffer, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = getrandom(buffer + done, length - done, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    if (done == length)
        return true;

    const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = readWholly(fd, buffer + done, length - done);
    close(fd);
    return ok;
}

} // namespace

int R_RandomInit(R_RANDOM_STRUCT *randomStruct)
{
    randomStruct->bytesNeeded = RANDOM_BYTES_NEEDED;
    R_memset(randomStruct->state, 0, sizeof randomStruct->state);
    randomStruct->outputAvailable = 0;
    return 0;
}

int R_RandomUpdate(R_RANDOM_STRUCT *randomStruct, const uint8_t *block, unsigned int blockLen)
{
    uint8_t digest[kBlockSize];
    MD5Data(block, blockLen, digest);

    unsigned int carry = 0;
    for (int i = kBlockSize - 1; i >= 0; --i) {
        carry += unsigned(randomStruct->state[i]) + digest[i];
        randomStruct->state[i] = uint8_t(carry);
        carry >>= 8;
    }

    randomStruct->bytesNeeded -= blockLen < randomStruct->bytesNeeded
                                     ? blockLen
                                     : randomStruct->bytesNeeded;
    R_wipe(digest, sizeof digest);
    return 0;
}

int R_GetRandomBytesNeeded(unsigned int *bytesNeeded, const R_RANDOM_STRUCT *randomStruct)
{
    *bytesNeeded = randomStruct->bytesNeeded;
    return 0;
}

int R_GenerateBytes(uint8_t *block, unsigned int blockLen, R_RANDOM_STRUCT *randomStruct)
{
    if (randomStruct->bytesNeeded != 0)
        return RE_NEED_RANDOM;

    // More than a block's worth available can only come from a damaged structure.
    unsigned int available = randomStruct->outputAvailable <= kBlockSize
                                 ? randomStruct->outputAvailable
                                 : 0;
    while (blockLen > available) {
        R_memcpy(block, randomStruct->output + kBlockSize - available, available);
        block += available;
        blockLen -= available;

        MD5Data(randomStruct->state, kBlockSize, randomStruct->output);
        available = kBlockSize;
        advanceState(randomStruct->state);
    }
    R_memcpy(block, randomStruct->output + kBlockSize - available, blockLen);
    randomStruct->outputAvailable = available - blockLen;
    return 0;
}

void R_RandomFinal(R_RANDOM_STRUCT *randomStruct)
{
    R_wipe(randomStruct, sizeof *randomStruct);
}

int RSAFeedRandomStruct(R_RANDOM_STRUCT *randomStruct)
{
    R_RandomInit(randomStruct);

    uint8_t seed[RANDOM_BYTES_NEEDED];
    if (!readSystemRandom(seed, sizeof seed)) {
        R_wipe(seed, sizeof seed);
        return RE_NEED_RANDOM;
    }

    static_assert(sizeof seed % kSeedBlockSize == 0, "the seed is a whole number of blocks");
    for (unsigned int offset = 0; offset < sizeof seed; offset += kSeedBlockSize) {
        unsigned int needed = 0;
        R_GetRandomBytesNeeded(&needed, randomStruct);
        if (needed == 0)
            break;
        R_RandomUpdate(randomStruct, seed + offset, kSeedBlockSize);
    }
    R_wipe(seed, sizeof seed);
    return 0;
}
