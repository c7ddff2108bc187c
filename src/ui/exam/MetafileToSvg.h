#ifndef VELARIX_METAFILE_TO_SVG_H
#define VELARIX_METAFILE_TO_SVG_H

/* Turns a Windows metafile (.wmf through libwmf, .emf through libemf2svg)
 * into SVG text. Plain C with no Qt include: libwmf's headers define U8, U16,
 * U32 and S16 as macros, which break Qt's headers.
 *
 * The libraries are not safe against hostile files, so the conversion runs in
 * a child process: a crash, a hang past the time limit or output beyond the
 * size limit costs the child, never the program. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum velarix_metafile_kind { VELARIX_WMF = 1, VELARIX_EMF = 2 };

enum velarix_convert_result {
    VELARIX_CONVERT_OK = 0,
    VELARIX_CONVERT_INVALID,   /* the library refused the file */
    VELARIX_CONVERT_TOO_LARGE, /* the SVG text grew beyond max_output */
    VELARIX_CONVERT_TIMEOUT,   /* the conversion did not end in time */
    VELARIX_CONVERT_CRASHED,   /* the library died on the file */
    VELARIX_CONVERT_SYSTEM     /* no child process could be started */
};

/* Converts `data` (a whole metafile) to SVG drawn at width x height pixels.
 * On VELARIX_CONVERT_OK, *svg holds *svg_length bytes (not terminated) that
 * the caller releases with free(). */
int velarix_metafile_to_svg(int kind, const unsigned char* data, size_t length, unsigned width,
                            unsigned height, size_t max_output, int timeout_ms, char** svg,
                            size_t* svg_length);

#ifdef __cplusplus
}
#endif

#endif
