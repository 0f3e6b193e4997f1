# List the help titles registered with HTML Help, through the library's C interface.
import ctypes
import sys

lib = ctypes.CDLL(sys.argv[1])  # build/src/libquillet.so here, QUILLET.dll on Windows
ULONG, PULONG = ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)
lib.QuilletCOpenDocInfoDefault.argtypes = [PULONG]
lib.QuilletCEnumDocCompilations.argtypes = [ULONG, PULONG]
lib.QuilletCNextDocCompilation.argtypes = [ULONG, PULONG]
lib.QuilletCGetDocValueSized.argtypes = [ULONG, ctypes.c_long, ctypes.c_char_p, ULONG]
lib.QuilletCCloseDoc.argtypes = [ULONG]
lib.QuilletCCloseDocInfo.argtypes = [ULONG]
lib.QuilletCGetLastError.argtypes = [ctypes.c_char_p, ULONG]
BUFFER_TOO_SMALL = 160


def doc_value(doc, value_id):
    """One value of a title entry (6 id, 1 CHM path, ...), or None when it has none."""
    size = 64
    while True:
        buffer = ctypes.create_string_buffer(size)
        code = lib.QuilletCGetDocValueSized(doc, value_id, buffer, size)
        if code != BUFFER_TOO_SMALL:
            return buffer.value.decode() if code == 0 else None
        size *= 2


version = ctypes.create_string_buffer(42)
lib.QuilletCGetVersion(version)
print(version.value.decode())

doc_info = ULONG()
code = lib.QuilletCOpenDocInfoDefault(ctypes.byref(doc_info))
if code != 0:
    error = ctypes.create_string_buffer(1024)
    lib.QuilletCGetLastError(error, len(error))
    sys.exit(f"cannot open the collection registry: code {code} {error.value.decode()}")
entries, doc = ULONG(), ULONG()
lib.QuilletCEnumDocCompilations(doc_info, ctypes.byref(entries))
while lib.QuilletCNextDocCompilation(entries, ctypes.byref(doc)) == 0:
    print(doc_value(doc, 6), doc_value(doc, 1))
    lib.QuilletCCloseDoc(doc)
lib.QuilletCCloseDocInfo(doc_info)
