SORTS = []
def objects(i18n, ucd, write):
    return []
