/* The result codes of the exported interface, shared by the C++ header quillet.h and
 * the C header quillet_c.h (so this file is plain C). A code means the same kind of
 * outcome in every function that returns it. */
#ifndef QUILLET_RESULT_CODES_H
#define QUILLET_RESULT_CODES_H

enum {
  QUILLET_OK = 0,
  QUILLET_E_REMOVE_LOAD_FAILED = 1,  /* QuilletRemove: the default collection did not load */
  QUILLET_E_NOT_FOUND = 5,           /* not found, absent, or end of an enumeration */
  QUILLET_E_NULL_HANDLE = 6,         /* invalid handle */
  QUILLET_E_CHM_MISSING = 7,         /* the CHM file does not exist */
  QUILLET_E_CHI_MISSING = 8,         /* the CHI file does not exist */
  QUILLET_E_NO_COLLECTION = 9,       /* no registry lists the default collection */
  QUILLET_E_DEFAULT_COLLECTION = 10, /* naming or loading the default collection failed */
  QUILLET_E_NO_ROOT = 100,           /* the document has no root element */
  QUILLET_E_PARSE = 110,             /* the file is not well-formed XML */
  QUILLET_E_STRUCTURE = 120,         /* wrong root element, or a required element missing */
  QUILLET_E_REGISTRY = 130,          /* reading the default collection name failed */
  QUILLET_E_BACKUP = 140,            /* the backup copy failed */
  QUILLET_E_ADD_FOLDER = 150,        /* adding a folder of the install path failed */
  QUILLET_E_BUFFER_TOO_SMALL = 160,  /* C interface, sized calls only: the text and its NUL
                                        do not fit the caller's buffer */
  /* The codes below are returned only where the caller asked for more than the
   * classic behaviour: in safe mode (QuilletSetSafeMode), or while files are locked
   * (QuilletLockFiles; QuilletInstall and QuilletRemove always lock). */
  QUILLET_E_WRITE_FAILED = 170,      /* safe mode: a save could not write, flush or replace
                                        the file (the last-error text names the file and the
                                        system's reason); the file is exactly as it was */
  QUILLET_E_UNREPRESENTABLE = 180,   /* safe mode: the file's code page cannot hold a
                                        character of the text (the last-error text names it);
                                        nothing was written */
  QUILLET_E_LOCKED = 190             /* another program held HTML Help's files locked for
                                        longer than the wait allows, or the lock file could
                                        not be opened; nothing was changed */
};

#endif
