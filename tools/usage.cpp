// kavrel-tool's --help text: every command, its options and the exit statuses.
#include "tools/commands.h"

namespace kavrel::tool {

std::string UsageText() {
    return R"(kavrel-tool: makes and reads Kavrel dictionary data files (kavrel.001 ... kavrel.008).

A data file is a Windows-1254 text of lines "headword|translation, translation", each line
ended by LF CR, scrambled byte by byte. "-" as a file name means stdin or stdout.

  kavrel-tool pack [--from-utf8] IN OUT
      Scrambles the plain text IN into the data file OUT, byte for byte (a zero byte is an
      error: the program stops reading there); with --from-utf8
      IN is UTF-8 and is converted to Windows-1254 first (a character 1254 cannot hold is
      an error naming its line and byte offset).
  kavrel-tool unpack [--to-utf8] IN OUT
      The reverse of pack; --to-utf8 writes the text as UTF-8.
  kavrel-tool import [--reverse|--unordered] SOURCE [[...] SOURCE...] [OPTION...] OUT
      Builds the data file OUT from all SOURCEs, merged in the order given. --reverse (-r)
      applies to the one SOURCE after it: its translations become headwords and its
      headword their translation. --unordered applies to the one SOURCE after it, which is
      not reversed: its senses follow no order of importance, so each entry is one sense
      (FreeDict's Ergane databases sort senses by the Esperanto words they were made
      through). A SOURCE is
        - a dictd database: NAME, NAME.index or NAME.dict.dz (NAME.dict if there is no
          .dict.dz); pronunciations, part-of-speech tags, sense numbers, bracketed labels,
          cross-references and source-language glosses are left out;
        - otherwise a UTF-8 text of lines "headword<TAB>translations" (or "headword|
          translations", as export writes), translations separated by "," or ";".
      The text is converted to Windows-1254: letters it cannot hold lose their diacritics
      (a macron a -> a, l with stroke -> l), other characters are dropped. Headwords that are
      equal after the program's lower-casing become one entry, their translations united
      without duplicates; entries without translation are skipped. Translations of a
      SOURCE that has the headword come first, sense by sense as it gives them; reversed
      ones follow, ranked by the sense of the foreign entry that gives the headword, then by
      how common the foreign word is, then by the headword's place in that entry. Within a
      direct sense a row that a reversal gives in a better sense of the foreign word, then
      the more common word, comes first. Reversed rows of a sense that the source labels
      archaic or rare (eski, nad., Vieilli, Rare, raro) follow the others. Left out of
      reversals where the entry keeps another translation: phrases of more than four words
      for a single word, capitals in a common word's entry where the language writes only
      names with one, and rows that differ from another only in letter case. A "|" in a
      headword becomes "/"; a "," or ";" inside one translation becomes " /" so the
      translation stays one row. Entries are written sorted by key, so output is the same
      on every run. Counts go to stderr. Sources that yield no entry are an error.
      Pivot languages (--pivot) are witnesses: a row that a pivot also reaches ranks
      before one with fewer witnesses, within a direct sense and among reversed rows; a
      row that two pivots reach and no source gives is added after the reversed rows
      with as many witnesses, and makes a headword of its own where none is.
      Options (each may be given anywhere):
        --language deu|eng|fra|ita   the translations' language, for its capital letters;
                                     the headwords are Turkish
        --language tur               the translations are Turkish. With either, a capital
                                     I inside a lower-case Turkish word is read as l
        --pivot FILE SOURCE          FILE is a Turkish -> pivot data file; SOURCE a
                                     pivot -> target source: the first three rows of a
                                     word in FILE lead through SOURCE to target words
                                     (repeatable; one pivot language per FILE)
        --pivot-reversed FILE SOURCE the same with a target -> pivot SOURCE
        --witness-only FILE          the pivot of FILE orders and confirms rows but gives
                                     none of its own (its sources' licence is another)
        --headwords-of DB            a dictd database: its headwords count as common words
                                     (repeatable; a word counts once per database)
        --sense-counts FILE          WordNet's cntlist.rev: how often a corpus used each
                                     word, which outweighs the count of databases
  kavrel-tool export FILE OUT
      Writes the lines of the data file FILE as UTF-8 "headword|translations" lines (LF).
  kavrel-tool rate [--misses] LIST FILE FROM TO
      Rates the data file FILE against LIST (tools/first-rows.tsv): for each line, looks
      up the first word of column FROM and counts how often the first row is one of the
      answers in column TO. --misses lists the words whose first row is not.
  kavrel-tool lookup FILE WORD
      Looks up the UTF-8 WORD in FILE as the program does and prints the stored headword,
      then one translation per line. Exit status 1 when the word is not there.

An output file is replaced only once its whole new content is on disk; through a symbolic
link the file it names is replaced; a device or a pipe is written into, never replaced.

Exit status: 0 done, 1 word not found (lookup), 2 error (nothing is written then).
)";
}

}  // namespace kavrel::tool
