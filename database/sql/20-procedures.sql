-- The stored procedures the module calls, as PostgreSQL functions. Names are
-- left unquoted, so they are stored in lower case and the module's call text
-- (any case) finds them; result columns come back in lower case and the
-- module reads them by name without regard to case. Parameters come in the
-- order the module sends them; outputs are OUT or INOUT parameters, result
-- sets RETURNS TABLE.

-- Take-off of space blocks -------------------------------------------------

-- Site and floor blocks: the location exists; its measures are updated.
create or replace function ipr_set_gross_location(
    p_kind char, p_location_id integer, p_area numeric, p_handle varchar, p_perimeter numeric,
    p_precision integer)
returns void language plpgsql as $$
begin
    update locations
       set area = p_area, handle = p_handle, perimeter = p_perimeter,
           decimal_places = p_precision, updated_at = localtimestamp
     where id = p_location_id and kind = p_kind;
    if not found then
        raise exception '% location % does not exist',
            case p_kind when 's' then 'site' else 'floor' end, p_location_id using errcode = 'P0002';
    end if;
end $$;

-- The procedures a take-off calls once per block or asset are PL/pgSQL: a
-- session plans their statements once and reuses the plans, where an SQL
-- function body is planned again on every call.
create or replace function __to_setSiteBlockInIPR(
    p_location_id integer, p_area numeric, p_handle varchar, p_perimeter numeric, p_precision integer)
returns void language plpgsql as $$
begin
    perform ipr_set_gross_location('s', p_location_id, p_area, p_handle, p_perimeter, p_precision);
end $$;

create or replace function __to_setFloorBlockInIPR(
    p_location_id integer, p_area numeric, p_handle varchar, p_perimeter numeric, p_precision integer)
returns void language plpgsql as $$
begin
    perform ipr_set_gross_location('f', p_location_id, p_area, p_handle, p_perimeter, p_precision);
end $$;

-- The location of a kind under a parent that a drawing object (by its
-- handle) stands for; null when there is none or the handle is empty.
create or replace function ipr_location_by_handle(p_parent_id integer, p_kind char, p_handle varchar)
returns integer language sql stable as $$
    select id from locations
     where parent_id = p_parent_id and kind = p_kind and handle = p_handle and p_handle <> ''
     order by id limit 1
$$;

-- Buildings and rooms: a location id of 0 means not known yet. The block is
-- then found under its parent by its handle (a second take-off of the same
-- drawing updates instead of adding), else added. The id goes back out.
create or replace function ipr_set_child_location(
    p_kind char, inout p_location_id integer, p_parent_id integer, p_name varchar, p_code varchar,
    p_status_exists boolean, p_status_duplicate boolean, p_area numeric, p_handle varchar,
    p_perimeter numeric, p_precision integer)
language plpgsql as $$
begin
    if coalesce(p_location_id, 0) = 0 then
        -- As ipr_location_by_handle, written out so its plan is kept.
        p_location_id := null;
        if p_handle <> '' then
            select id into p_location_id from locations
             where parent_id = p_parent_id and kind = p_kind and handle = p_handle
             order by id limit 1;
        end if;
    end if;
    if coalesce(p_location_id, 0) = 0 then
        insert into locations (parent_id, kind, name, code, handle, area, perimeter, decimal_places,
                               status_exists, status_duplicate)
        values (p_parent_id, p_kind, coalesce(p_name, ''), coalesce(p_code, ''), coalesce(p_handle, ''),
                p_area, p_perimeter, p_precision, coalesce(p_status_exists, true),
                coalesce(p_status_duplicate, false))
        returning id into p_location_id;
    else
        update locations
           set parent_id = p_parent_id, name = coalesce(p_name, ''), code = coalesce(p_code, ''),
               handle = coalesce(p_handle, ''), area = p_area, perimeter = p_perimeter,
               decimal_places = p_precision, status_exists = coalesce(p_status_exists, true),
               status_duplicate = coalesce(p_status_duplicate, false), updated_at = localtimestamp
         where id = p_location_id and kind = p_kind;
        if not found then
            raise exception '% location % does not exist',
                case p_kind when 'b' then 'building' else 'room' end, p_location_id
                using errcode = 'P0002';
        end if;
    end if;
end $$;

create or replace function __to_setBuildingBlockInIPR(
    inout p_location_id integer, p_parent_id integer, p_name varchar, p_code varchar,
    p_status_exists boolean, p_status_duplicate boolean, p_area numeric, p_handle varchar,
    p_perimeter numeric, p_precision integer)
language plpgsql as $$
begin
    p_location_id := ipr_set_child_location('b', p_location_id, p_parent_id, p_name, p_code, p_status_exists,
                                            p_status_duplicate, p_area, p_handle, p_perimeter, p_precision);
end $$;

create or replace function __to_setRoomBlockInIPR(
    inout p_location_id integer, p_parent_id integer, p_name varchar, p_code varchar,
    p_status_exists boolean, p_status_duplicate boolean, p_area numeric, p_handle varchar,
    p_perimeter numeric, p_precision integer)
language plpgsql as $$
begin
    p_location_id := ipr_set_child_location('r', p_location_id, p_parent_id, p_name, p_code, p_status_exists,
                                            p_status_duplicate, p_area, p_handle, p_perimeter, p_precision);
end $$;

create or replace function __to_getBlocksFromIPR(p_parent_id integer)
returns table (id integer, type varchar, parentid integer, name varchar, code varchar, status varchar,
               area numeric, handle varchar, perimeter numeric)
language sql stable as $$
    select l.id, l.kind::varchar, l.parent_id, l.name, l.code,
           (case when l.status_exists then '0' else '1' end
            || case when l.status_duplicate then '1' else '0' end)::varchar,
           l.area, l.handle, l.perimeter
      from locations l
     where l.parent_id = p_parent_id
     order by l.id
$$;

create or replace function __to_exportSpaceBlockToTP(
    p_parent_id integer, p_name varchar, p_code varchar, p_area numeric, p_area_type varchar,
    p_cost_centre varchar, p_date varchar, p_date_last_move varchar, p_dept_charge varchar,
    p_handle varchar, p_perimeter numeric, p_room_height numeric, p_special_req varchar,
    p_tag_type varchar, p_tot_staff varchar, p_tot_wk_stns varchar, p_volume numeric,
    p_export_parameters varchar)
returns void language sql as $$
    insert into tp_space_exports (kind, location_id, name, code, area, area_type, cost_centre, date_text,
                                  date_last_move, dept_charge, handle, perimeter, room_height, special_req,
                                  tag_type, total_staff, total_workstations, volume, export_parameters)
    values ('c', p_parent_id, p_name, p_code, p_area, p_area_type, p_cost_centre, p_date, p_date_last_move,
            p_dept_charge, p_handle, p_perimeter, p_room_height, p_special_req, p_tag_type, p_tot_staff,
            p_tot_wk_stns, p_volume, p_export_parameters)
$$;

create or replace function __to_exportGrossAreaBlocktoTP(
    p_location_id integer, p_area numeric, p_area_type varchar, p_cost_centre varchar, p_date varchar,
    p_date_last_move varchar, p_dept_charge varchar, p_handle varchar, p_perimeter numeric,
    p_room_height numeric, p_special_req varchar, p_tag_type varchar, p_tot_staff varchar,
    p_tot_wk_stns varchar, p_volume numeric, p_export_parameters varchar)
returns void language sql as $$
    insert into tp_space_exports (kind, location_id, area, area_type, cost_centre, date_text,
                                  date_last_move, dept_charge, handle, perimeter, room_height, special_req,
                                  tag_type, total_staff, total_workstations, volume, export_parameters)
    values ('g', p_location_id, p_area, p_area_type, p_cost_centre, p_date, p_date_last_move,
            p_dept_charge, p_handle, p_perimeter, p_room_height, p_special_req, p_tag_type, p_tot_staff,
            p_tot_wk_stns, p_volume, p_export_parameters)
$$;

-- Assets ---------------------------------------------------------------------

create or replace function __to_applyAssetToIPR(
    p_location_id integer, p_drawing_id integer, p_handle varchar, p_acad_block_identifier varchar,
    p_acad_block_description varchar, p_unique_description varchar, p_point_x numeric, p_point_y numeric,
    p_asset_exists_in_location boolean, out p_excluded_from_takeoff boolean)
language plpgsql as $$
begin
    insert into assets (drawing_id, handle, location_id, acad_block_identifier, acad_block_description,
                        unique_description, point_x, point_y, exists_in_location)
    values (p_drawing_id, p_handle, nullif(p_location_id, 0), p_acad_block_identifier,
            coalesce(p_acad_block_description, ''), coalesce(p_unique_description, ''),
            p_point_x, p_point_y, coalesce(p_asset_exists_in_location, true))
    on conflict (drawing_id, handle) do update
       set location_id = excluded.location_id, acad_block_identifier = excluded.acad_block_identifier,
           acad_block_description = excluded.acad_block_description,
           unique_description = excluded.unique_description, point_x = excluded.point_x,
           point_y = excluded.point_y, exists_in_location = excluded.exists_in_location;
    p_excluded_from_takeoff := exists (select 1 from excluded_asset_blocks e
                                        where e.acad_block_identifier = p_acad_block_identifier);
end $$;

create or replace function __to_applyAssetAttributeToIPR(
    p_drawing_id integer, p_handle varchar, p_tag varchar, p_value varchar, p_exists boolean)
returns void language plpgsql as $$
begin
    insert into asset_attributes (drawing_id, handle, tag, value, present)
    values (p_drawing_id, p_handle, p_tag, coalesce(p_value, ''), coalesce(p_exists, true))
    on conflict (drawing_id, handle, tag) do update
       set value = excluded.value, present = excluded.present;
end $$;

create or replace function __to_tp_exportAsset(
    p_location_id integer, p_handle varchar, p_acad_block_identifier varchar,
    p_acad_block_description varchar, p_unique_description varchar, p_point_x numeric, p_point_y numeric,
    p_asset_exists_in_location boolean, p_export_parameters varchar)
returns void language sql as $$
    insert into tp_asset_exports (location_id, handle, acad_block_identifier, acad_block_description,
                                  unique_description, point_x, point_y, exists_in_location, export_parameters)
    values (p_location_id, p_handle, p_acad_block_identifier, p_acad_block_description, p_unique_description,
            p_point_x, p_point_y, p_asset_exists_in_location, p_export_parameters)
$$;

create or replace function idr.getLocationAssets(p_location_id integer)
returns table (drawingid integer, handle varchar, acadblockidentifier varchar, atdescription varchar,
               adescription varchar, ax numeric, ay numeric, status varchar)
language sql stable as $$
    select a.drawing_id, a.handle, a.acad_block_identifier, a.acad_block_description, a.unique_description,
           a.point_x, a.point_y, (case when a.exists_in_location then '1' else '0' end)::varchar
      from assets a
     where a.location_id = p_location_id
     order by a.drawing_id, a.handle
$$;

create or replace function idr.getAssetAttributes(p_drawing_id integer, p_handle varchar)
returns table (atag varchar, avalue varchar)
language sql stable as $$
    select t.tag, t.value from asset_attributes t
     where t.drawing_id = p_drawing_id and t.handle = p_handle
     order by t.tag
$$;

create or replace function __gr_getCategoryAssets(p_category_id integer)
returns table (mahandle varchar, madescription varchar, mauniquedescription varchar)
language sql stable as $$
    select c.handle, c.description, c.unique_description from category_assets c
     where c.category_id = p_category_id order by c.sort_order, c.handle
$$;

-- Hyperlinks -------------------------------------------------------------------

create or replace function __gr_getBlockHyperlinks(p_category_id integer, p_handle varchar)
returns table (bhhref varchar, bhdescription varchar)
language sql stable as $$
    select h.href, h.description from block_hyperlinks h
     where h.category_id = p_category_id and h.handle = p_handle order by h.sort_order, h.href
$$;

create or replace function __gr_getAssetHyperlinks(p_category_id integer, p_handle varchar)
returns table (bhhref varchar, bhdescription varchar)
language sql stable as $$
    select h.href, h.description from asset_hyperlinks h
     where h.category_id = p_category_id and h.handle = p_handle order by h.sort_order, h.href
$$;

-- Graphic reports ----------------------------------------------------------------

create or replace function __gr_getGraphicReports(p_status_id smallint)
returns table (grid integer)
language sql stable as $$
    select g.id from graphic_reports g where g.status_id = p_status_id order by g.id
$$;

create or replace function __gr_getGraphicReport(p_graphic_report_id integer)
returns table (grtitle varchar, grdrawingpath varchar, grdrawingfilename varchar, grplotlayout varchar,
               grplottypeid integer, grplotareatypeid integer, grplotmediasizeid integer,
               grplotscaletypeid integer, grplotcentred boolean, groutputpath varchar,
               groutputfilename varchar, grsavecopyto varchar, grxmloutputto varchar,
               grtotalchildareas numeric)
language sql stable as $$
    select g.title, g.drawing_path, g.drawing_filename, g.plot_layout, g.plot_type_id, g.plot_area_type_id,
           g.plot_media_size_id, g.plot_scale_type_id, g.plot_centred, g.output_path, g.output_filename,
           g.save_copy_to, g.xml_output_to, g.total_child_areas
      from graphic_reports g where g.id = p_graphic_report_id
$$;

create or replace function __gr_setGraphicReportStatus(p_graphic_report_id integer, p_status_id integer)
returns void language plpgsql as $$
begin
    update graphic_reports set status_id = p_status_id where id = p_graphic_report_id;
    if not found then
        raise exception 'graphic report % does not exist', p_graphic_report_id using errcode = 'P0002';
    end if;
end $$;

create or replace function __gr_setGraphicReportLayout(p_graphic_report_id integer, p_layout varchar)
returns void language plpgsql as $$
begin
    update graphic_reports set layout = p_layout where id = p_graphic_report_id;
    if not found then
        raise exception 'graphic report % does not exist', p_graphic_report_id using errcode = 'P0002';
    end if;
end $$;

create or replace function __gr_getReportCategories(p_graphic_report_id integer)
returns table (cid integer, ctitle varchar, chatchpattern varchar, chatchangle numeric, chatchcolour varchar,
               chatchscale numeric, chatchlayer varchar)
language sql stable as $$
    select c.id, c.title, c.hatch_pattern, c.hatch_angle, c.hatch_colour, c.hatch_scale, c.hatch_layer
      from report_categories c where c.graphic_report_id = p_graphic_report_id
     order by c.sort_order, c.id
$$;

create or replace function __gr_getCategoryBlocks(p_category_id integer)
returns table (mbhandle varchar, mbname varchar, mbcode varchar, mbarea numeric, mbswapname varchar,
               mbswaparea varchar, mbswapaux varchar)
language sql stable as $$
    select b.handle, b.name, b.code, b.area, b.swap_name, b.swap_area, b.swap_aux
      from category_blocks b where b.category_id = p_category_id order by b.sort_order, b.handle
$$;

create or replace function __gr_getReportLayersOn(p_graphic_report_id integer)
returns table (loname varchar, lodescription varchar)
language sql stable as $$
    select l.name, l.description from report_layers_on l
     where l.graphic_report_id = p_graphic_report_id order by l.sort_order, l.name
$$;

create or replace function __gr_getReportLinkLines(p_graphic_report_id integer)
returns table (llstarthandle varchar, llendhandle varchar, lllayername varchar, lllabeltext varchar)
language sql stable as $$
    select l.start_handle, l.end_handle, l.layer_name, l.label_text from report_link_lines l
     where l.graphic_report_id = p_graphic_report_id order by l.sort_order
$$;

create or replace function __to_addDrawingLayer(
    p_layer_name varchar, p_layer_description varchar, p_layer_colour smallint, p_attach_id integer)
returns void language sql as $$
    insert into drawing_layers (attach_id, name, description, colour)
    values (p_attach_id, p_layer_name, coalesce(p_layer_description, ''), p_layer_colour)
    on conflict (attach_id, name) do update set description = excluded.description, colour = excluded.colour
$$;

create or replace function __to_addDrawingLayout(p_layout_name varchar, p_attach_id integer)
returns void language sql as $$
    insert into drawing_layouts (attach_id, name) values (p_attach_id, p_layout_name)
    on conflict do nothing
$$;

create or replace function __to_deleteDrawingLayouts(p_attach_id integer)
returns void language sql as $$
    delete from drawing_layouts where attach_id = p_attach_id
$$;

-- Module registration (the document monitor's catalogue) ---------------------------

create or replace function __mod_setModDetails(
    p_module_name varchar, p_module_description varchar, p_module_version varchar, p_module_date timestamp)
returns void language sql as $$
    insert into modules (name, description, version, module_date)
    values (p_module_name, p_module_description, p_module_version, p_module_date)
    on conflict (name) do update
       set description = excluded.description, version = excluded.version, module_date = excluded.module_date
$$;

create or replace function __mod_setModRunning(p_modname varchar)
returns void language plpgsql as $$
begin
    update modules set last_running = localtimestamp where name = p_modname;
    if not found then
        raise exception 'module % is not registered', p_modname using errcode = 'P0002';
    end if;
end $$;

-- The drawing a take-off writes: its id and the floor it shows, by file name.
create or replace function __to_getDrawing(p_file_name varchar)
returns table (drawingid integer, locationid integer)
language sql stable as $$
    select d.id, d.location_id from drawings d where d.file_name = p_file_name order by d.id limit 1
$$;
