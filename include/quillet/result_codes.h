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
  QUILLET_E_BUFFER_TOO_SMALL = 160   /* C interface, sized calls only: the text and its NUL
                                        do not fit the caller's buffer */
};

#endif
