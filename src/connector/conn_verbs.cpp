// GenBOHandler: the table of verb steps that dispatch calls.
#include "connector/conn_handler.h"

const conn_ty_verb_steps conn_verb_steps = {
    [](GenBOHandler& h, BusinessObject& bo) { return h.Create(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.Update(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.Retrieve(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.RetrieveAll(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.RetrieveByContent(bo); },
};
