/* The value ids of a title entry, for QuilletGetDocValue and QuilletSetDocValue (and
 * their C forms). Shared by quillet.h and quillet_c.h, so this file is plain C. */
#ifndef QUILLET_DOC_VALUES_H
#define QUILLET_DOC_VALUES_H

enum {
  QUILLET_DOC_CHM_PATH = 1,          /* LocationHistory/TitleLocation: the title's CHM file */
  QUILLET_DOC_CHI_PATH = 2,          /* LocationHistory/IndexLocation: its CHI index file */
  QUILLET_DOC_LANGUAGE = 3,          /* DocCompLanguage: the language id ("1033") */
  QUILLET_DOC_COLLECTION_NUMBER = 4, /* LocationHistory/ColNum: the collection's number */
  QUILLET_DOC_LOCATION_NAME = 5,     /* LocationHistory/LocationRef: the location name */
  QUILLET_DOC_TITLE_ID = 6           /* DocCompId: the title id; read only */
};

#endif
