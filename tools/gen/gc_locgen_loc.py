def objects(i18n, cp_ids, sort_ids):
    return []
