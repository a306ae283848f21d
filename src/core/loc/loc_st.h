// Characters and strings of the locale layer: class tests, comparisons
// without regard to case, wildcard matching, tokenisers that keep double-byte
// characters whole, cutting texts on character boundaries, white-space
// helpers, the double-byte lead-byte test and the character dump file.
//
// Classes, case, character lengths, comparisons and number reading follow the
// calling thread's locale of the class library (KCLASSIC); an error the
// library throws is caught here, and the call falls back to the C library's
// byte functions (or reports the failure, as each call says).
//
// Threads: the calls keep no state of their own and follow the calling thread's
// class-library locale; writing the character dump file is one thread at a time.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "core/loc/loc_st_case.h"
#include "orb_api.h"

// 1 when the database server uses a double-byte character set.
extern long double_byte_enable;

ORB_API long loc_st_isalnum(long c);
ORB_API long loc_st_isalpha(long c);
ORB_API long loc_st_isdigit(long c);
ORB_API long loc_st_islower(long c);
ORB_API long loc_st_isupper(long c);
ORB_API long loc_st_isspace(long c);
ORB_API long loc_st_iscntrl(long c);
ORB_API long loc_st_isgraph(long c);
ORB_API long loc_st_isprint(long c);
ORB_API long loc_st_ispunct(long c);
ORB_API long loc_st_isxdigit(long c);
ORB_API long loc_st_isascii(long c);

ORB_API char* loc_st_strcpy(char* dst, const char* src);
ORB_API char* loc_st_strcat(char* dst, const char* src);
// First / last occurrence of a character, found on character boundaries.
ORB_API char* loc_st_strchr(const char* text, long c);
ORB_API char* loc_st_strrchr(const char* text, long c);
ORB_API long loc_st_strlen(const char* text);
// First occurrence of part starting on a character boundary.
ORB_API char* loc_st_strstr(const char* text, const char* part);
ORB_API long loc_st_strcoll(const char* a, const char* b);
// By value, as the multibyte library compares with its default flags:
// below, equal to or above 0.
ORB_API long loc_st_strcmp(const char* a, const char* b);
ORB_API double loc_st_atof(const char* text);
ORB_API long loc_st_atoi(const char* text);
ORB_API long loc_st_atol(const char* text);
ORB_API char* loc_st_strncpy(char* dst, const char* src, long n);
ORB_API char* loc_st_strncat(char* dst, const char* src, long n);
ORB_API long loc_st_strncmp(const char* a, const char* b, long n);
ORB_API long loc_st_strtol(const char* text, char** end, long base);
// Formats into out (the caller sizes it) through the library's printf
// engine; the bytes written without the NUL, -1 on failure (out emptied).
ORB_API long loc_st_sprintf(char* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Converts length bytes of text (-1: up to the NUL) from code page from_cp
// into code page to_cp (null: the thread locale's) into out (size bytes;
// size 0 only measures); the converted length, -1 on failure.
ORB_API long loc_st_strconvert(char* out, const char* text, long length, long size, const char* to_cp,
                               const char* from_cp);

ORB_API long loc_st_strcmpi(const char* a, const char* b);
ORB_API long loc_st_strncmpi(const char* a, const char* b, long n);
ORB_API long loc_st_strcmp_upper(const char* a, const char* b);
ORB_API long loc_st_strcmp_opt(const char* a, const char* b, long option);
ORB_API char* loc_st_strstri(const char* text, const char* part);
// 0 when text matches pattern (without regard to case), else 1.
ORB_API long loc_st_match(const char* pattern, const char* text);
ORB_API long loc_st_match_nodir(const char* pattern, const char* text);
ORB_API long loc_st_has_wildcard(const char* text);
// 0 when c is in set, else -1.
ORB_API long loc_st_in(long c, const char* set);
ORB_API char* loc_st_strtok(char* text, const char* delims);
ORB_API char* loc_st_strtok2(char* text, const char* delims);

// The character after the one text starts with.
ORB_API char* loc_st_nextch(const char* text);
// Byte length of the character a byte starts, as a lead byte of the thread
// locale's code page (1 for a byte that starts no longer character).
ORB_API long loc_st_get_char_length(long c);
// Byte length of the character at text (1 for the end or an invalid byte).
ORB_API long loc_st_char_length_at(const char* text);
// Cuts text to at most len bytes, at the start of the character that would
// cross the length.
ORB_API char* loc_st_set_null(char* text, long len);
ORB_API long loc_IsDBCSLeadByte(long c);

ORB_API long loc_st_is_allspace(const char* text);
ORB_API long loc_st_has_space(const char* text);
ORB_API char* loc_st_next_nonspace(const char* text);
ORB_API char* loc_st_next_nonspace_noncomma(const char* text);
// Drops leading and trailing white space in place.
ORB_API char* loc_st_strip_spaces(char* text);
// Copies src into dst (size bytes, NUL-ended, at most size - 1 bytes) up to
// the stop; returns the position in src where copying stopped.
ORB_API const char* loc_st_copy_til_space(char* dst, long size, const char* src);
ORB_API const char* loc_st_copy_til_char(char* dst, long size, const char* src, long c);
// As loc_st_copy_til_char, keeping trailing white space of the copy.
ORB_API const char* loc_st_copy_til_char_nochop(char* dst, long size, const char* src, long c);
ORB_API const char* loc_st_copy_til_one_of(char* dst, long size, const char* src, const char* set);
// The first newline or the end.
ORB_API char* loc_st_find_eol(const char* text);
// Cuts text at the first c.
ORB_API char* loc_st_set_char_null(char* text, long c);
// Every from becomes to.
ORB_API char* loc_st_set_char_to(char* text, long from, long to);
ORB_API char* loc_st_subs_char(char* text, long from, long to);
ORB_API long loc_st_empty_str(const char* text);
ORB_API const char* loc_st_newline();
ORB_API long loc_st_is_newline(long c);

// Conversions with wide text: the class library makes none, every result
// is 0.
ORB_API long loc_st_mb_to_wide(void* out, const char* text, long size);
ORB_API long loc_st_wide_to_mb(char* out, const void* wide, long size);
ORB_API long loc_st_mb_to_wide_size(const char* text);
ORB_API long loc_st_wide_to_mb_size(const void* wide);

ORB_API time_t loc_st_time(time_t* t);
ORB_API char* loc_st_asctime(const struct tm* t);
ORB_API char* loc_st_ctime(const time_t* t);

// While switched on, loc_st_dump_char_to_file appends the text and its byte
// values ("%d ") to "chardump.out" in the working directory.
ORB_API long loc_st_set_dump_char(long on);
ORB_API long loc_st_dump_char_to_file(const char* text);

// File and console covers.
ORB_API long loc_io_rename(const char* from, const char* to);
ORB_API char* loc_io_tmpnam(char* buffer);
ORB_API long loc_io_fflush(FILE* f);
ORB_API long loc_io_feof(FILE* f);
ORB_API long loc_io_fclose(FILE* f);
ORB_API long loc_io_fgetc(FILE* f);
ORB_API char* loc_io_fgets(char* buffer, long size, FILE* f);
ORB_API long loc_io_fputc(long c, FILE* f);
ORB_API long loc_io_fputs(const char* text, FILE* f);
ORB_API long loc_io_getc(FILE* f);
ORB_API long loc_io_getchar();
// Reads a line from standard input into buffer (size bytes), without its
// newline; null at the end of input.
ORB_API char* loc_io_gets(char* buffer, long size);
ORB_API long loc_io_putc(long c, FILE* f);
ORB_API long loc_io_putchar(long c);
ORB_API long loc_io_puts(const char* text);
ORB_API long loc_io_ungetc(long c, FILE* f);
ORB_API FILE* loc_io_fopen(const char* path, const char* mode);
ORB_API long loc_io_access(const char* path, long mode);
