// The "dbs" message list: compiled-in texts and registration.
#include <cstdarg>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "store/dbs_msg.h"

namespace {

const char* const kTexts[DBS_NUM_MSGS] = {
    nullptr,  // 2200
    "Database object name %s is invalid.\n",  // 2201
    "The memory structure pointed to by the object pointer %lx is invalid.\n",  // 2202
    nullptr,  // 2203
    nullptr,  // 2204
    "Source schema %s with rel_id %ld does not match target schema %s.\n",  // 2205
    "Rel_def of rels %ld of object type %s is invalid.\n",  // 2206
    nullptr,  // 2207
    nullptr,  // 2208
    "There is no object pointed at by ptr %lx.\n",  // 2209
    nullptr,  // 2210
    nullptr,  // 2211
    nullptr,  // 2212
    "Object collection %lx passed in for the query is invalid.\n",  // 2213
    "Object ID collection %lx passed in to the dbs_rel_get_oid() is invalid.\n",  // 2214
    "Cannot modify the object ID field of object pointed at by ptr %lx.\n",  // 2215
    "The size of buffer %ld is too small; %ld is needed.\n",  // 2216
    "Src obj %lx and trg obj %lx cannot have permanent relation, because one of them is a temp object.\n",  // 2217
    "Obj %lx is a temporary obj, so it cannot have a permanent relation.\n",  // 2218
    "Database '%s' has old structure revision %ld. Replace with current revision %ld.\n",  // 2219
    "Database '%s' has schema revision %ld.  Application was expecting revision %ld.\n",  // 2220
    "The difference between the client clock and the server clock is more than 24 hours.\n",  // 2221
    nullptr,  // 2222
    nullptr,  // 2223
    "There is no default value for type '%ld'.",  // 2224
    "There is no default value address for type '%ld'.",  // 2225
    "There is no privilege class by the name of '%s'.",  // 2226
    "There are duplicate privilege classes by the name of '%s'.",  // 2227
    "Wrong routine called on a non-OTO relation.",  // 2228
    "Cannot do this operation on a NULL object.",  // 2229
    "Object ID collection %lx passed in to the dbs_obj_get_col_order_by_id() is invalid.\n",  // 2230
    "There is no title in the SQL query object passed in.\n",  // 2231
    "There is no login name passed in.\n",  // 2232
    "There is no stored procedure name in the SQL query object passed in.\n",  // 2233
    "Field '%s' does not exist for object type '%s'.\n",  // 2234
    "Relation '%s' of object type '%s' is not valid.\n",  // 2235
    "Relation '%s' in the relation path cannot be traversed.\n",  // 2236
    "First of the relation path '%s' returns %ld objects.\n",  // 2237
    "The buffer size %ld was too small; a buffer of size %ld is needed.\n",  // 2238
    "The value '%s' for %s is not valid.\n",  // 2239
    "Value of type %ld cannot be compared with value of type %ld.\n",  // 2240
    "Cannot change the password.\n",  // 2241
    nullptr,  // 2242
    nullptr,  // 2243
    "A '%s' with the same '%s' already exists in the database.\n",  // 2244
    nullptr,  // 2245
    nullptr,  // 2246
    nullptr,  // 2247
    nullptr,  // 2248
    nullptr,  // 2249
    "The entry '%s...' is too long for item '%s' of '%s'. See your database administrator.\n",  // 2250
    "Field type '%ld' for field '%s' of '%s' was incorrect.\n",  // 2251
    nullptr,  // 2252
    "Password entered was not acceptable.\n",  // 2253
    nullptr,  // 2254
    nullptr,  // 2255
    nullptr,  // 2256
    nullptr,  // 2257
    nullptr,  // 2258
    nullptr,  // 2259
    nullptr,  // 2260
    nullptr,  // 2261
    nullptr,  // 2262
    nullptr,  // 2263
    nullptr,  // 2264
    nullptr,  // 2265
    nullptr,  // 2266
    nullptr,  // 2267
    nullptr,  // 2268
    nullptr,  // 2269
    nullptr,  // 2270
    nullptr,  // 2271
    nullptr,  // 2272
    nullptr,  // 2273
    nullptr,  // 2274
    nullptr,  // 2275
    nullptr,  // 2276
    nullptr,  // 2277
    nullptr,  // 2278
    nullptr,  // 2279
    nullptr,  // 2280
    nullptr,  // 2281
    nullptr,  // 2282
    nullptr,  // 2283
    nullptr,  // 2284
    nullptr,  // 2285
    nullptr,  // 2286
    nullptr,  // 2287
    nullptr,  // 2288
    nullptr,  // 2289
    nullptr,  // 2290
    nullptr,  // 2291
    nullptr,  // 2292
    nullptr,  // 2293
    nullptr,  // 2294
    nullptr,  // 2295
    nullptr,  // 2296
    nullptr,  // 2297
    nullptr,  // 2298
    nullptr,  // 2299
    nullptr,  // 2300
    nullptr,  // 2301
    nullptr,  // 2302
    nullptr,  // 2303
    nullptr,  // 2304
    nullptr,  // 2305
    nullptr,  // 2306
    nullptr,  // 2307
    nullptr,  // 2308
    nullptr,  // 2309
    nullptr,  // 2310
    nullptr,  // 2311
    nullptr,  // 2312
    nullptr,  // 2313
    nullptr,  // 2314
    nullptr,  // 2315
    nullptr,  // 2316
    nullptr,  // 2317
    nullptr,  // 2318
    "An attempt was made to free an invalid local object by the routine '%s'.\n",  // 2319
    nullptr,  // 2320
    nullptr,  // 2321
    "There was a problem changing the database tables/views/indexes during this operation.\n",  // 2322
    nullptr,  // 2323
    nullptr,  // 2324
    nullptr,  // 2325
    nullptr,  // 2326
    "%s\n",  // 2327
    nullptr,  // 2328
    nullptr,  // 2329
    nullptr,  // 2330
    nullptr,  // 2331
    nullptr,  // 2332
    nullptr,  // 2333
    nullptr,  // 2334
    nullptr,  // 2335
    nullptr,  // 2336
    "The following indexes were dropped during this operation.\nPlease refer to the database msg file for details:\n%s",  // 2337
    "Cannot retrieve the message (Messages in database out of sync)\n",  // 2338
    "This operation can only be performed on Views.\n",  // 2339
    nullptr,  // 2340
    nullptr,  // 2341
    nullptr,  // 2342
    "Could not find your default WIPbin.  Please contact your System Administrator.\n",  // 2343
    "The user name entered does not match a valid user of this database.\n",  // 2344
    "This user is not installed on this node (node ID '%s').\n",  // 2345
    "An error has occurred while processing the server batch: %s\nPlease check the contents of your local 'ruz.log' file, and note any reported errors along with the batch identification.\nContact the Administrator to report the error.",  // 2346
    "Your database must be rebuilt.  Contact the Administrator.\nNo modifications to the database will be accepted.",  // 2347
};
static_assert(sizeof kTexts / sizeof kTexts[0] == DBS_NUM_MSGS);

const loc_ty_arg_table<DBS_NUM_MSGS> kArgs(0);

}  // namespace

long dbs_str_init() {
  if (long st = cmn_list_install_res_table(DBS_FIRST_ID, DBS_NUM_MSGS, kTexts)) return st;
  return loc_str_init_list("dbs", DBS_SUBSYS, DBS_FIRST_ID, DBS_LAST_ID, DBS_NUM_MSGS, kArgs.bytes);
}

long dbs_alrt(const char* proc, long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, proc, code, 0, args);
  va_end(args);
  return code;
}
