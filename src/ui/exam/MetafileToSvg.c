#define _GNU_SOURCE
#include "ui/exam/MetafileToSvg.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/times.h>
#include <sys/wait.h>
#include <unistd.h>

/* Exit codes of the child. */
enum { CHILD_OK = 0, CHILD_INVALID = 1 };

static int write_all(int fd, const char* buffer, size_t length)
{
    while (length > 0) {
        ssize_t n = write(fd, buffer, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        buffer += n;
        length -= (size_t)n;
    }
    return 0;
}

/* libwmf: scan for the picture's extent, then play it into its SVG device,
 * which writes into a memory stream. Runs in the child only: nothing is
 * released, the child ends right after. */
static int convert_wmf(const unsigned char* data, size_t length, unsigned width, unsigned height, int out)
{
    wmfAPI* api = NULL;
    wmfAPI_Options options;
    memset(&options, 0, sizeof options);
    options.function = wmf_svg_function;
    unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None || api == NULL)
        return CHILD_INVALID;
    if (wmf_mem_open(api, (unsigned char*)data, (long)length) != wmf_E_None)
        return CHILD_INVALID;
    wmfD_Rect bbox;
    if (wmf_scan(api, 0, &bbox) != wmf_E_None)
        return CHILD_INVALID;

    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, NULL);
    if (device->out == NULL)
        return CHILD_INVALID;
    device->Description = (char*)"Exhibit";
    device->bbox = bbox;
    device->width = width;
    device->height = height;
    /* Raster pieces go into the SVG text itself, never into files. */
    device->flags |= WMF_SVG_INLINE_IMAGES;
    if (wmf_play(api, 0, &bbox) != wmf_E_None)
        return CHILD_INVALID;

    char* svg = NULL;
    unsigned long svg_length = 0;
    wmf_stream_destroy(api, device->out, &svg, &svg_length);
    if (svg == NULL || svg_length == 0)
        return CHILD_INVALID;
    return write_all(out, svg, svg_length) == 0 ? CHILD_OK : CHILD_INVALID;
}

static int convert_emf(const unsigned char* data, size_t length, unsigned width, unsigned height, int out)
{
    generatorOptions options;
    memset(&options, 0, sizeof options);
    options.nameSpace = (char*)"";
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = width;
    options.imgHeight = height;
    char* svg = NULL;
    size_t svg_length = 0;
    int converted = emf2svg((char*)data, length, &svg, &svg_length, &options);
    int code = CHILD_INVALID;
    if (converted != 0 && svg != NULL && svg_length > 0)
        code = write_all(out, svg, svg_length) == 0 ? CHILD_OK : CHILD_INVALID;
    free(svg); /* emf2svg allocates its output even when it fails */
    return code;
}

/* Milliseconds on a clock that only moves forward (clock ticks since boot). */
static long long now_ms(void)
{
    static long ticks_per_second = 0;
    if (ticks_per_second <= 0)
        ticks_per_second = sysconf(_SC_CLK_TCK);
    return (long long)times(NULL) * 1000 / ticks_per_second;
}

/* The converters allocate what a file's records ask for: a few bytes of
 * hostile header can make them ask for gigabytes. The child may grow by this
 * much beyond the program it was forked from; past it an allocation fails and
 * the file is refused. Under AddressSanitizer, which reserves its shadow
 * memory as it goes, no cap is set. */
#define CHILD_MEMORY_BYTES (512L << 20)

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELARIX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VELARIX_ASAN 1
#endif

static void cap_memory(void)
{
#ifndef VELARIX_ASAN
    char text[64] = {0};
    int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    long pages = n > 0 ? strtol(text, NULL, 10) : 0;
    if (pages <= 0)
        return;
    struct rlimit cap;
    cap.rlim_cur = cap.rlim_max = (rlim_t)pages * (rlim_t)sysconf(_SC_PAGESIZE) + CHILD_MEMORY_BYTES;
    setrlimit(RLIMIT_AS, &cap);
#endif
}

static void silence_output(void)
{
    int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null_fd >= 0) {
        dup2(null_fd, STDOUT_FILENO);
        dup2(null_fd, STDERR_FILENO);
    }
}

int velarix_metafile_to_svg(int kind, const unsigned char* data, size_t length, unsigned width,
                            unsigned height, size_t max_output, int timeout_ms, char** svg,
                            size_t* svg_length)
{
    *svg = NULL;
    *svg_length = 0;

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return VELARIX_CONVERT_SYSTEM;

    pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return VELARIX_CONVERT_SYSTEM;
    }
    if (child == 0) {
        /* The child: convert, hand the text over and end without running any
         * of the parent's exit handlers. */
        close(fds[0]);
        silence_output();
        cap_memory();
        int code = kind == VELARIX_WMF ? convert_wmf(data, length, width, height, fds[1])
                                       : convert_emf(data, length, width, height, fds[1]);
        _exit(code);
    }

    close(fds[1]);
    int result = VELARIX_CONVERT_OK;
    size_t capacity = 0;
    char* buffer = NULL;
    size_t used = 0;
    const long long deadline = now_ms() + timeout_ms;
    for (;;) {
        long long left = deadline - now_ms();
        if (left <= 0) {
            result = VELARIX_CONVERT_TIMEOUT;
            break;
        }
        struct pollfd p = {fds[0], POLLIN, 0};
        int ready = poll(&p, 1, (int)left);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            result = VELARIX_CONVERT_SYSTEM;
            break;
        }
        if (ready == 0)
            continue; /* the deadline is checked at the top */
        if (used == capacity) {
            /* One byte more than allowed is room enough to see the excess. */
            size_t grown = capacity == 0 ? 65536 : capacity * 2;
            if (grown > max_output + 1)
                grown = max_output + 1;
            char* larger = realloc(buffer, grown);
            if (larger == NULL) {
                result = VELARIX_CONVERT_SYSTEM;
                break;
            }
            buffer = larger;
            capacity = grown;
        }
        ssize_t n = read(fds[0], buffer + used, capacity - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result = VELARIX_CONVERT_SYSTEM;
            break;
        }
        if (n == 0)
            break; /* the child has closed its end */
        used += (size_t)n;
        if (used > max_output) {
            result = VELARIX_CONVERT_TOO_LARGE;
            break;
        }
    }
    close(fds[0]);
    if (result != VELARIX_CONVERT_OK)
        kill(child, SIGKILL);

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (result == VELARIX_CONVERT_OK) {
        if (WIFSIGNALED(status))
            result = VELARIX_CONVERT_CRASHED;
        else if (!WIFEXITED(status) || WEXITSTATUS(status) != CHILD_OK || used == 0)
            result = VELARIX_CONVERT_INVALID;
    }
    if (result != VELARIX_CONVERT_OK) {
        free(buffer);
        return result;
    }
    *svg = buffer;
    *svg_length = used;
    return VELARIX_CONVERT_OK;
}
